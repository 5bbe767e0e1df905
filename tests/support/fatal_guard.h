#pragma once
// Turns a fatal runtime error into a test result: the report's text comes back
// instead of a message box and the end of the process. Only for code called
// straight from the test (no window procedure between): the report unwinds to
// here as a C++ exception thrown from the runtime's error hook.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "runtime/errors/error_report.h"
#include "runtime/events/event_suppression.h"

struct FatalReport {
    int32_t number;
    std::string text;  // the message followed by the location lines
};

inline std::optional<FatalReport> CatchFatalReport(const std::function<void()>& body) {
    quillet::SetErrorHook([](int32_t number, const char* text) -> int { throw FatalReport{number, text}; });
    std::optional<FatalReport> report;
    try {
        body();
    } catch (const FatalReport& caught) {
        report = caught;
        quillet::AllowEvents();  // the report raised it for good; the test goes on
    }
    quillet::SetErrorHook(nullptr);
    return report;
}
