// Who hears the installation engine's messages; see install_answers.h.
#include "install/install_answers.h"

#include "install/install_log.h"

namespace {
InstallNotifier g_notifier = nullptr;
}  // namespace

void SetInstallNotifier(InstallNotifier notifier) { g_notifier = notifier; }

int NotifyInstallRow(MessageRow row, const char* detail) {
    // Every message the engine gives is in the log too, whoever shows it.
    LogNumber("message", row, detail);
    if (g_notifier != nullptr) return g_notifier(row, detail);
    return row == kMsgReplaceOldWordBase ? IDYES : IDOK;
}
