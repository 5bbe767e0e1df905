#pragma once
// The program's literal texts, all in one read-only block: the ConstantDataArea
// whose bounds ProgramInfo gives the runtime. A text inside it is never freed,
// so a handler may keep one in a variable that it frees later (PadText).
#include <array>
#include <cstdint>
#include <string>

namespace quillet::app {

enum class Literal : int32_t {
    Empty,                // the empty text compiled code passes instead of null
    ConfigFileName,       // "\qlt_config.ini", after the run directory
    ReplaceSection,       // "replace"
    SubjectKey,           // "#subject"
    PredicateKey,         // "#predicate"
    Comma,                // ","
    LineBreak,            // CR LF
    ParagraphBreak,       // CR LF CR LF
    Space,                // " "
    EmptySubjectMessage,  // "预被替换文本不能为空。"
    MismatchMessage,      // "预被替换内容与用作替换内容不匹配！"
    UnreadableFileMessage,  // a dropped file that cannot be opened or read
    NotTextFileMessage,     // a dropped file that holds no text
    FileTooLargeMessage,    // a dropped file beyond LargestTextFile (its size in MB is in the text)
    Zeros1,               // "0" to "00000": the zero fill of line numbers
    Zeros2,
    Zeros3,
    Zeros4,
    Zeros5,
    VersionText,          // "Quillet by Jev  版本：1.0": the footer between runs
    CleanupSummary,       // "去除空行：", then the lines before and after
    NumberingSummary,     // "增加序号："
    ReplaceSummary,       // "多词替换："
    LinesArrow,           // " 行 → "
    LinesEnd,             // " 行"
    ChangedLinesStart,    // "，其中 ", then the lines changed
    ChangedLinesEnd,      // " 行有改动"
    ListsNotSavedStart,   // "无法写入设置文件 ", then its path
    ListsNotSavedEnd,     // what it means for the lists
    ReplacedStart,        // "已载入文件：", then how many characters were lost
    ReplacedEnd,          // " 处无法识别的编码已替换为 U+FFFD"
    UndoRescueTitle,      // "运行前的文本（撤消可恢复）": UndoText's title in a rescue file
    UndoneStart,          // "撤消：回到运行前，", then the lines of the text brought back
    SettingsFileName,     // "qlt_config.ini": the settings file, beside the program or in the application data
    SettingsFolderName,   // "Quillet": its folder in the application data
    SettingsFileStart,    // "设置文件 ", then its path, when it could not be read at start
    SettingsUnreadableEnd,  // what follows for a file that cannot be opened or read
    SettingsTooLargeEnd,    // what follows for a file beyond LargestSettingsFile
    Count
};

namespace constant_pool {

constexpr int32_t LiteralCount = static_cast<int32_t>(Literal::Count);

// In the order of Literal; the sources are UTF-8, the texts GBK.
constexpr std::array<const char*, LiteralCount> Sources = {
    "",
    "\\qlt_config.ini",
    "replace",
    "#subject",
    "#predicate",
    ",",
    "\r\n",
    "\r\n\r\n",
    " ",
    "预被替换文本不能为空。",
    "预被替换内容与用作替换内容不匹配！",
    "无法打开或读取这个文件。",
    "这不是文本文件，未载入。",
    "文件太大，无法载入（最大 32 MB）。",
    "0",
    "00",
    "000",
    "0000",
    "00000",
    "Quillet by Jev  版本：1.0",
    "去除空行：",
    "增加序号：",
    "多词替换：",
    " 行 → ",
    " 行",
    "，其中 ",
    " 行有改动",
    "无法写入设置文件 ",
    "，两个替换列表没有保存，下次启动时将不会恢复。",
    "已载入文件：",
    " 处无法识别的编码已替换为 U+FFFD",
    "运行前的文本（撤消可恢复）",
    "撤消：回到运行前，",
    "qlt_config.ini",
    "Quillet",
    "设置文件 ",
    " 无法打开或读取（可能正被其他程序使用，或没有权限），替换列表没有载入；这次运行不会写入这个文件。",
    " 超过 16 MB，没有读取，替换列表没有载入；这次运行不会写入这个文件。",
};

constexpr size_t Size = [] {
    size_t size = 0;
    for (const char* text : Sources) size += std::char_traits<char>::length(text) + 1;
    return size;
}();

// Every text with its ending 0 byte, one after the other, and where each begins.
struct Pool {
    std::array<char, Size> bytes{};
    std::array<uint32_t, LiteralCount> offsets{};
};

constexpr Pool Make() {
    Pool pool;
    size_t at = 0;
    for (int32_t k = 0; k < LiteralCount; ++k) {
        pool.offsets[k] = static_cast<uint32_t>(at);
        for (const char* c = Sources[k]; *c != '\0'; ++c) pool.bytes[at++] = *c;
        pool.bytes[at++] = '\0';
    }
    return pool;
}

inline constexpr Pool ThePool = Make();

}  // namespace constant_pool

// The block's bounds, for ProgramInfo.
inline constexpr const char* ConstantDataStart = constant_pool::ThePool.bytes.data();
inline constexpr uint32_t ConstantDataSize = static_cast<uint32_t>(constant_pool::Size);

inline const char* Text(Literal literal) {
    return constant_pool::ThePool.bytes.data() + constant_pool::ThePool.offsets[static_cast<int32_t>(literal)];
}

}  // namespace quillet::app
