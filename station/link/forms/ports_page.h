// The port window `frmComPorts` as a page of the configuration view: the master
// port (the line to the controllers) and the slave port, the apply command,
// the online and offline commands.
#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace zev {

struct AppContext;
struct PortChoice;

class PortsPage final : public QWidget {
    Q_OBJECT
public:
    explicit PortsPage(AppContext& ctx, QWidget* parent = nullptr);

    void SearchPorts();
    void RefreshPortSettings();
    void cmdSetPortSettings_Click();
    void cmdOnlineMode_Click();
    void cmdOfflineMode_Click();
    // The mode label and the online command's caption and hint.
    void showMode();

    QTabWidget* tabs() const { return tabs_; }
    QComboBox* portList(int tab) const { return ports_[tab]; }
    QComboBox* modeList(int tab) const { return modes_[tab]; }
    QComboBox* baudList(int tab) const { return bauds_[tab]; }
    QComboBox* firstAddressList() const { return firstAddress_; }
    QLabel* modeLabel() const { return modeLabel_; }
    QPushButton* onlineButton() const { return online_; }

    // Port number of a list entry ("COM 3", "COM 3 (belegt)"; "Offline" is 0).
    static int portOfEntry(const QString& entry);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildPortTab(int tab);
    PortChoice selection(int tab) const;

    AppContext& ctx_;
    QTabWidget* tabs_ = nullptr;
    QComboBox* ports_[2] = {};
    QComboBox* modes_[2] = {};
    QComboBox* bauds_[2] = {};
    QComboBox* firstAddress_ = nullptr;
    QLabel* modeLabel_ = nullptr;
    QPushButton* online_ = nullptr;
};

}  // namespace zev
