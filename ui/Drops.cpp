#include "ui/Drops.h"

#include <initializer_list>

#include "store/UniqueHandle.h"
#include "ui/FolderPicker.h"

namespace {

constexpr UINT kCopyGlobalData = 0x0049;

std::wstring droppedItem(HDROP drop, UINT index) {
    std::wstring path(DragQueryFileW(drop, index, nullptr, 0) + 1, L'\0');
    path.resize(DragQueryFileW(drop, index, path.data(), static_cast<UINT>(path.size())));
    return path;
}

}  // namespace

void acceptDrops(HWND window) {
    DragAcceptFiles(window, TRUE);
    for (UINT message : {static_cast<UINT>(WM_DROPFILES), static_cast<UINT>(WM_COPYDATA), kCopyGlobalData})
        ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr);
}

DroppedFolder takeDrop(HDROP dropped) {
    const UniqueDrop drop(dropped);  // freed however the drop is handled
    DroppedFolder result{};
    DragQueryPoint(drop.get(), &result.point);
    if (DragQueryFileW(drop.get(), 0xFFFFFFFF, nullptr, 0) > 0)
        result.folder = folderOfDroppedItem(droppedItem(drop.get(), 0));
    return result;
}
