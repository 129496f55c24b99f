// English texts 1393 to 1537 (all of part 2 of the English table).
// Exactly as the program shows them, blanks included; UTF-8. docs/texts.md
// lists every number with both languages and where it is used.
#include "support/texts_table.h"

namespace zev::texts_table {
namespace {
constexpr Entry kTexts[] = {
    // zone status, driver files, start-up, tools, login
    {1393, "Current alarm"},
    {1394, "Broken sensor"},
    {1395, "Shorted sensor"},
    {1396, "Temperature L"},
    {1397, "Temperature H"},
    {1398, "Negative temp.-deviation"},
    {1399, "Positive temp.-deviation"},
    {1400, "Tuning-Error"},
    {1401, "Shorted SSR"},
    {1402, "Current H"},
    {1403, "Current L"},
    {1404, "Leakage current"},
    {1405, "unknown failure "},
    {1406, "Current deviation H"},
    {1407, "Current deviation L"},
    {1408, "Absolute temp. alarm"},
    {1409, "This function is not available in offline mode."},
    {1410, "Output rate deviation"},
    {1411, "Load device info"},
    {1412, "No AZ No. was found at ZEV."},
    {1413, "Try again"},
    {1414, "Continue without driver"},
    {1415, "No suitable driver for AZ"},
    {1416, " was found."},
    {1417, "Select driver manually"},
    {1418, "The actual tool defines more zones than the connected ZEV unit has. These can not be operated at the moment."},
    {1419, "ZEVcontrol has to be restarted after update"},
    {1420, "Update"},
    {1421, "Cancel"},
    {1422, "driver selection"},
    {1423, "Language"},
    {1424, "All languages"},
    {1427, "ZEV-Control 2 found "},
    {1428, " log files in an out-of-date format. Do you want to convert them into the new format?"},
    {1429, "Yes, convert"},
    {1430, "No, delete"},
    {1431, "Please wait, converting the log file "},
    {1432, "There is not enough free space on the disk. The log file"},
    {1433, " has to be deleted!"},
    {1434, "This function requires the "},
    {1435, "-level."},
    // start-up, update, status bar, user levels
    {1505, " and must be updated."},
    {1506, "Finish"},
    {1507, "Start program..."},
    {1508, "Output ON"},
    {1509, "Outputs OFF"},
    {1510, "OFFLINE"},
    {1511, "Change setpoint from "},
    {1512, " to "},
    {1513, "Just a moment..."},
    {1514, "Check fonts..."},
    {1515, "The ZEV unit is running the diagnosis."},
    {1516, "1 ZEV unit is running the diagnosis."},
    {1517, " ZEV units are running the diagnosis."},
    {1518, "All ZEV units are running the diagnosis."},
    {1521, "Initialising of interface RS485 failed."},
    {1522, "Initialising of Bluetooth failed."},
    {1523, "Initialising of COM-ports failed."},
    {1524, "ZEV Control now OFFLINE"},
    {1525, "Update"},
    {1526, "Diagnosis running"},
    {1527, "Updating..."},
    {1528, "Display"},
    {1529, "OPERATION"},
    {1530, "TUNING"},
    {1531, "CONFIGURATION"},
    {1532, "SERVICE"},
    {1533, "<unknow>"},
    {1534, "Actual version of ZEV485.DLL "},
    {1535, "Communication error"},
    {1536, "Outputs OFF"},
    {1537, "User-Level: "},
};
static_assert(ascendingWithin(kTexts, 1393, 1537));
}  // namespace

std::span<const Entry> english1393() { return kTexts; }

}  // namespace zev::texts_table
