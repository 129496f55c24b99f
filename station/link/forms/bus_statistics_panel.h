// The configuration view's bus statistics (`timBusStatistic`, every 600 ms while
// shown: good and error telegrams per controller, the error share, Reset) and
// the maintenance command line `doSendUserCmd` (online and level 4 only).
#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTimer;

namespace zev {

struct AppContext;

// The error share e / (g + e): "0.00 %" with the language's decimal mark,
// "100 %" when every telegram failed, "-" when none did.
QString errorShareText(long good, long errors, int language);
// A reply with its control characters written out: the value before ETX and
// "{ETX}", or the first three characters and "{ACK}" / "{NAK}"; "?" on failure.
QString replyText(const QByteArray& reply, int status);

class BusStatisticsPanel final : public QWidget {
    Q_OBJECT
public:
    BusStatisticsPanel(AppContext& ctx, QWidget* parent = nullptr);
    void timBusStatistic_Timer();
    void cmdResetStat_Click();
    void doSendUserCmd();

    QTableWidget* table() const { return table_; }
    QLineEdit* commandLine() const { return command_; }
    QLabel* reply() const { return reply_; }
    QGroupBox* terminal() const { return terminal_; }
    QTimer* timer() const { return timer_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void showTerminalFor(int level);

    AppContext& ctx_;
    QTableWidget* table_;
    QTimer* timer_;
    QGroupBox* terminal_;
    QLineEdit* command_;
    QLabel* reply_;
};

}  // namespace zev
