#pragma once

#include <string>
#include <string_view>

// The label of a mapping file in the tray menu: the stem of the path's file
// name ("C:\q\CFG\live.set.json" gives "live.set"; ".json" stays ".json").
// Pure string work, free of the platform.
std::wstring ConfigMenuLabel(std::wstring_view path);

// The text to insert as a menu item so that the menu shows `label` as it is:
// a menu takes "&" as the mark of the shortcut letter after it and shows
// "&&" as one "&", so each "&" is doubled ("Rock&Roll" gives "Rock&&Roll").
std::wstring MenuItemText(std::wstring_view label);
