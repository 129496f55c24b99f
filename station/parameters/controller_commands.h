// Commands to whole controllers, sent to every master controller: the outputs
// on or off (SetOU), the restart, the factory settings, and one global
// parameter (gridParaGlob_Click). Each change is recorded once per controller.
// They are no zone writes: they go to the bus link's Ask and SetGlobVal.
#pragma once

#include <QString>
#include <vector>

namespace zev {

struct AppContext;
class OperatorRecord;

// Addresses d = 1..ControllerCount whose master address is d itself.
std::vector<int> masterControllers(const AppContext& ctx);
// A value as the controllers' commands carry it: four digits, "-" in front.
QString fourDigits(int value);

// What became of one master's cell of a global parameter.
struct GlobalCellResult {
    int address = 0;
    bool acknowledged = false;
};

class ControllerCommands {
public:
    ControllerCommands(AppContext& ctx, OperatorRecord& record) : ctx_(ctx), record_(record) {}

    // cmdON_Click: level 1, then SetOU(not OutputsOn).
    void toggleOutputs();
    void SetOU(bool on);
    // cmdRESET_Click: the question, level 1, "?ENA=0001" and "XRES=" to each master.
    void restart();
    // Command3_Click: level 2, the question, "XSTD=" to each master. True when sent
    // (the parameter store must then be read again).
    bool factorySettings();
    // gridParaGlob_Click on row g (0-based into GlobalParameters): the value from
    // the number pad, the parameter's level, the command to each master.
    // Empty when nothing was sent.
    std::vector<GlobalCellResult> editGlobal(int g);

private:
    AppContext& ctx_;
    OperatorRecord& record_;
};

}  // namespace zev
