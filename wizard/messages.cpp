// The table of the system's messages; see messages.h.
#include "wizard/messages.h"

#include "app/bounded.h"

namespace {

constexpr char kOutOfMemoryChinese[] = "内存不够。安装无法继续。";
constexpr char kOutOfMemoryEnglish[] = "Memory not enough!";
constexpr char kCannotCreateFolderEnglish[] = "Cannot create folder!";

// Row 4's English text is "%s Please check folder path." with the text above.
constexpr char kCheckFolderPathEnglish[] = "Cannot create folder! Please check folder path.";

constexpr Message kRows[kMessageRowCount + 1] = {
    {"", "", kButtonsOk},  // rows count from 1
    {kOutOfMemoryChinese, kOutOfMemoryEnglish, kButtonsOk},
    {kOutOfMemoryChinese, kOutOfMemoryEnglish, kButtonsOk},
    {"请您回答提问.", "Please select a choice.", kButtonsOk},
    {"无法建目录。请检查所列目录是否合法（注意：子目录只能在已存在的目录下建）。",
     kCheckFolderPathEnglish, kButtonsOk},
    {"祝贺您：安装顺利完成！", "Congratulations! Installation Success!", kButtonsOk},
    {"下面安装微软的语音模块SAPI5.1.", "Now install sound module SAPI5.1 from Microsoft.",
     kButtonsOkCancel},
    {kOutOfMemoryChinese, kOutOfMemoryEnglish, kButtonsOk},
    {"安装失败！请检查一下系统后，再重新安装。谢谢！",
     "Installation failed. Please check your system (quit all Zelko applications) and try again.",
     kButtonsOk},
    {"无法建目录(%s)!", kCannotCreateFolderEnglish, kButtonsOk},
    {"无法在 Start 菜单中为本程序建立一个条目。很抱歉，只好请您以后自已建立了。",
     "Failed to create an entry on Start Menu.", kButtonsOk},
    {kOutOfMemoryChinese, kOutOfMemoryEnglish, kButtonsOk},
    {"安装目录有老词库。是否安装新词库(会冲掉老词库)?",
     "Old CiKu (Word Base) is detected. Replace it with new CiKu?", kButtonsYesNo},
    {"语音模块需要微软的 Windows Installer，本系统无法启动它，未安装。",
     "The speech module needs Windows Installer, which this system cannot start. Not installed.",
     kButtonsOk},
    {"磁盘空间不够。安装无法继续。", "Not enough disk space!", kButtonsOk},
};

}  // namespace

const Message& MessageOfRow(MessageRow row) {
    int index = static_cast<int>(row);
    return kRows[index >= 1 && index <= kMessageRowCount ? index : 0];
}

int ShowMessageRow(MessageRow row, HWND owner, const char* detail) {
    const Message& message = MessageOfRow(row);
    if (row != kMsgCannotCreateStartMenuFolder) {
        return ShowMessage(message.chinese, message.english, message.buttonSet, owner);
    }
    char chinese[MAX_PATH];
    if (!FormatBounded(chinese, message.chinese, detail ? detail : "")) {
        FormatBounded(chinese, message.chinese, "...");
    }
    return ShowMessage(chinese, message.english, message.buttonSet, owner);
}
