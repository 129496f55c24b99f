// History files of the older format (".TDB": the presence map, then per second
// 270 setpoints, 270 actual values and 270 outputs as 16-bit values) and their
// conversion into day files when a tool is loaded.
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

namespace zev {

struct AppContext;

// Free space the conversion of one file needs on the log directory's drive.
constexpr qint64 kConvertFreeBytes = qint64(350) * 1024 * 1024;

// Convert_LogFile: writes the seconds of `oldFile` into the day file of the same
// name with ".CDB". Seconds the day file already holds are kept as they are.
// `percent` hears the progress 0..100. False (and `error`) when a read or write
// failed; the old file is never touched.
bool Convert_LogFile(const QString& oldFile, QString* error, const std::function<void(int)>& percent = {});

// The tool load's step for old history files: asks once whether to convert or
// delete them; converts a file only with 350 MiB free and deletes it only after
// its conversion succeeded (a failed one stays for the next load).
void ConvertOldHistoryFiles(AppContext& ctx);

}  // namespace zev
