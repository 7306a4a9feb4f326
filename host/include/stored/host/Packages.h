// Packages: a library of classes offered to the designer and to applications as one
// unit. A package describes itself (name, description, version, the host packages it
// needs, the units it contains) and lists the Register procedures of its units;
// loading it calls those procedures, in that order, and nothing else of the package.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fmx {

/// A package's version number.
struct TPackageVersion {
  uint16_t Major = 0, Minor = 0, Release = 0, Build = 0;
  // "2021.4.3.111"
  std::string ToString() const;
  bool operator==(const TPackageVersion&) const = default;
};

// Whether the designer, running applications, or both may load the package.
enum class TPackageUsage { DesignAndRun, DesignOnly, RunOnly };

/// A unit's registration procedure, called when its package is loaded.
struct TPackageRegister {
  std::string UnitName;
  void (*Register)() = nullptr;
};

/// What a package is: its description, version, the packages it requires and its units'
/// registration.
struct TPackageInfo {
  std::string Name;
  std::string Description;
  std::string ProductName;
  TPackageVersion FileVersion;
  TPackageVersion ProductVersion;
  TPackageUsage Usage = TPackageUsage::DesignAndRun;
  // The host packages it needs, and the units it consists of.
  std::vector<std::string> Requires;
  std::vector<std::string> Contains;
  // The units' Register procedures, in the order they are called.
  std::vector<TPackageRegister> Registers;
};

// What the designer does with a package it loads: calls each Register procedure.
// Loading a package that is already loaded does nothing.
void LoadPackage(const TPackageInfo& Package);
// Names of the packages loaded so far, in load order.
std::vector<std::string> LoadedPackages();

}  // namespace fmx
