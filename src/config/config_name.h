#pragma once

#include <string>
#include <string_view>

// How mapping files are named and shown in the tray menu. Pure string work,
// free of the platform.

// True when the file name `name` has exactly the extension ".json". The
// extension runs from the last "." to the end, except that a name whose only
// "." is its first character has none, and neither have "." and "..".
// Compared unit by unit: case counts.
bool IsConfigFileName(std::wstring_view name);

// The file name of a mapping file's path, as the program names the file to
// the user: "C:\q\CFG\live.set.json" gives "live.set.json".
std::wstring ConfigFileName(std::wstring_view path);

// The label of a mapping file in the tray menu: the stem of the path's file
// name, what comes before its extension ("C:\q\CFG\live.set.json" gives
// "live.set"; ".json" stays ".json").
std::wstring ConfigMenuLabel(std::wstring_view path);

// The text to insert as a menu item so that the menu shows `label` as it is:
// a menu takes "&" as the mark of the shortcut letter after it and shows
// "&&" as one "&", so each "&" is doubled ("Rock&Roll" gives "Rock&&Roll").
std::wstring MenuItemText(std::wstring_view label);
