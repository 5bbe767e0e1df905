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
    WindowTitle,          // "Quillet [Sandpost_tmwrk]": the window's caption
    TitleFileSeparator,   // " - ", then the file's name in the title
    UnsavedMark,          // "*" before the name while the box differs from the file
    OpenFilter,           // the open dialog's file types
    SaveFilter,           // the save dialog's file types: the encodings, in FileEncoding order
    UnknownBytesEnd,      // after ReplacedStart and a count: bytes of a GBK file that are no character
    SavedStart,           // "已保存：", then the file's name
    UnchangedStart,       // the file already held the text: nothing written
    MissingCharacterStart,   // "第 ", a line, the middle, the character, the end: GBK lacks it
    MissingCharacterMiddle,
    MissingCharacterEnd,
    ChangedOnDiskStart,   // the file, then: another program changed it since
    ChangedOnDiskEnd,
    LossBeforeSaveStart,  // places that were no character at loading, before the first save
    LossBeforeSaveEnd,
    SaveFailedStart,      // "无法保存 ", the file, the middle, the cause, the end
    SaveFailedMiddle,
    SaveFailedEnd,
    CloseQuestionStart,   // the file, then: unsaved changes, close anyway?
    CloseQuestionEnd,
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
    "Quillet [Sandpost_tmwrk]",
    " - ",
    "*",
    "文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*",
    "GBK (*.txt)|*.txt|GB18030 (*.txt)|*.txt|UTF-8 (*.txt)|*.txt|UTF-8 带签名 (*.txt)|*.txt|"
    "UTF-16 LE (*.txt)|*.txt|UTF-16 BE (*.txt)|*.txt",
    " 处字节不是 GBK 字符，显示为 ?",
    "已保存：",
    "文本与文件相同，未写入：",
    "第 ",
    " 行的“",
    "”在 GBK 编码中没有，按 GBK 保存会丢失它。\r\n\r\n"
    "是：改用 GB18030 保存（中文编码，能存所有字符）\r\n否：改用 UTF-8 保存\r\n取消：不保存",
    "文件 ",
    " 在载入之后被其他程序改过。\r\n\r\n是：仍然保存，覆盖其他程序的修改\r\n否：不保存",
    "这个文件载入时有 ",
    " 处无法识别的字节，编辑框中显示为 ? 或 U+FFFD；保存后文件里也将是这些字符。\r\n\r\n是：保存\r\n否：不保存",
    "无法保存 ",
    "：",
    "。\r\n文件保持原样，文本仍在编辑框中。",
    "文件“",
    "”有未保存的修改。\r\n\r\n是：保存后关闭\r\n否：不保存，直接关闭\r\n取消：不关闭",
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
