// File names as a stored form keeps them: relative to the form's folder where that lets the
// project move or be copied whole, absolute elsewhere.
#pragma once

#include <string>

// File as a form kept in Folder stores it: relative to Folder when the file lies in Folder or
// below it (symbolic links followed to find out), otherwise, or when Folder is empty, its
// absolute path.
std::string FormFileName(const std::string& File, const std::string& Folder);
