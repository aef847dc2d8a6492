// host_services.cpp: the services the activation bound, read safely.
#include "toolkit.h"

HostServices hostServices{};

bool snapshotSource(const ItemId *&selection, double &time) noexcept {
    const HostServices &host = hostServices;
    if (!host.interfaceService || !host.timeService || !host.itemService || !host.itemService->itemParam)
        return false;
    selection = host.interfaceService->selectedItems;
    time = host.timeService->currentTime;
    return selection != nullptr;
}

Vec3 itemParam(ItemId item, int code, double time) noexcept {
    Vec3 value{};
    if (const ItemService *items = hostServices.itemService; items && items->itemParam && item)
        items->itemParam(item, code, time, value.data());
    return value;
}
