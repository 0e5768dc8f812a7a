// Forward declarations of the designer layer (DesignIntf, DesignEditors, the palette and
// the package loader).
#pragma once

#include <functional>
#include <string>

class IDesigner;
class TPropertyEditor;
struct TPackageInfoTable;
struct TPackageInfo;

// A loaded package, as the loader hands it out; also the key under which the package's
// registrations are remembered. Nil stands for the host itself.
using HMODULE = void*;

// The callback through which an editor hands out values, one string a call.
using TGetStrProc = std::function<void(const std::string&)>;
