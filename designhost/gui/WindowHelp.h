// The help topics of the design window itself: the window and its Object Inspector. The
// property editors' and the package's dialogs' topics come with the package that has them.
#pragma once

constexpr int kDesignWindowHelp = 27100;
constexpr int kObjectInspectorHelp = 27101;

// Makes the design window's topics known to help; calling it again changes nothing.
void RegisterDesignWindowHelp();
