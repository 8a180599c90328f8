#pragma once

#include <span>
#include <string_view>

// The page's files (page/), built into the executable so that it stays one
// file (page_assets.cpp is generated from them by embed_page.cmake).
struct PageAsset {
    std::string_view name;  // "index.html", "editor.js"
    std::string_view content_type;
    std::string_view bytes;
};

std::span<const PageAsset> PageAssets();
