#pragma once
// The zero fill of the numbering tool, apart so that its rule can be checked
// where a run could never reach it (six zeros need a million lines).
namespace quillet::app {

// PadText for a number `difference` characters shorter than the widest: "0" to
// "00000" for 1 to 5, empty for 0 (compared with a tolerance of 1e-7); any
// other difference keeps `padText`. Every result is a constant text.
const char* NextPadText(double difference, const char* padText);

}  // namespace quillet::app
