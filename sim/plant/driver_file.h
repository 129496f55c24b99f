// Writes the driver files of the simulated controller families from the parameter
// table: INI section [ZEVCtrl] with MC_param, then "@P", "@Z", "@I" and "@X"
// records, CR LF line ends. Parameter names and information captions are stored in
// the OEM code page 850, the information texts in Windows-1252, as the station
// reads them.
#pragma once

#include "parameter_table.h"

#include <string>
#include <string_view>
#include <vector>

namespace zevsim {

enum class DriverLanguage { German, English, Neutral };

struct DriverFile {
    std::string fileName;  // e.g. "AZ12_d.DRV"
    std::string bytes;     // exact file content
};

// File name of a family's driver file in one language ("AZ12_d.DRV", "AZ7.DRV").
std::string driverFileName(int az, DriverLanguage language);

// The bytes of one driver file. Neutral files carry the English names.
std::string driverFileBytes(const ControllerFamily& family, DriverLanguage language);

// Every file a family ships (two language files, or one neutral file).
std::vector<DriverFile> driverFilesFor(const ControllerFamily& family);

// UTF-8 to a single-byte code page. Only the characters the tables use are mapped
// (ASCII, German umlauts, sharp s, degree, micro); anything else throws
// std::invalid_argument, so that a new name cannot silently turn into garbage.
std::string utf8ToCp850(std::string_view utf8);
std::string utf8ToCp1252(std::string_view utf8);

}  // namespace zevsim
