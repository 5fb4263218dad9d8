#include "platform/DialogBackend.h"

#include "platform/ZenityDialogs.h"

namespace {

DialogBackend* installedBackend = nullptr;

}  // namespace

DialogBackend& dialogBackend()
{
    static ZenityDialogs platformDialogs;
    return installedBackend != nullptr ? *installedBackend : platformDialogs;
}

void setDialogBackend(DialogBackend* backend) { installedBackend = backend; }
