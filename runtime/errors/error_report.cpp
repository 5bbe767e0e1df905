#include "runtime/errors/error_report.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "runtime/app/exit_routines.h"
#include "runtime/app/startup.h"

namespace quillet {
namespace {

// Messages of the numbered errors, from 1; compiled code raises 1 and 4 itself.
constexpr const char* RuntimeErrorMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};
constexpr int32_t MessageCount = sizeof RuntimeErrorMessages / sizeof RuntimeErrorMessages[0];

std::string Formatted(const char* format, int32_t a, int32_t b) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<int>(a), static_cast<int>(b));
    return text;
}

}  // namespace

void ReportFatalError(const char* message, int32_t errorNumber, int32_t location1, int32_t location2) {
    std::string box = "运行时出错!\r\n";
    if (errorNumber != 0) box += "\r\n错误代码：" + Formatted("%d", errorNumber, 0) + "\r\n";
    if (message != nullptr && message[0] != '\0') box += std::string("\r\n错误信息：") + message + "\r\n";
    box += Formatted("\r\n%d, %d", location1, location2) + "\r\n";
    MessageBoxA(nullptr, box.c_str(), "错误", MB_ICONERROR);

    ReleaseExitRoutines();
    RunShutdown(-1);
    ExitProcess(static_cast<UINT>(-1));
}

void ReportNumberedError(int32_t errorNumber, int32_t location1, int32_t location2) {
    const bool known = errorNumber >= 1 && errorNumber <= MessageCount;
    ReportFatalError(known ? RuntimeErrorMessages[errorNumber - 1] : "", errorNumber, location1, location2);
}

}  // namespace quillet
