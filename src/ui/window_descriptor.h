#pragma once

#include <string>

#include "toolkit/window.h"

// What every program window tells the toolkit about its skin.
struct WindowDescriptor {
    int resourceType = toolkit::kSkinResource;
    int resourceId = 147;
    std::wstring skinFolder;
    std::wstring layoutFile;
    std::wstring className;

    // The usual descriptor: the linked archive, and a class name that is the
    // layout's file name without its extension.
    static WindowDescriptor ForLayout(const std::wstring& layoutFile);
};
