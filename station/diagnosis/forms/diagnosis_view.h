// frmDiagnose: the wiring test (zone selection, start and stop, the running
// protocol, saving it) and the protocol tab (list, preview, comment, print,
// delete). The logic is Diagnosis and ProtocolCommands; this is their face.
#pragma once

#include "diagnosis/diagnosis.h"
#include "diagnosis/protocol_commands.h"
#include "widgets/view.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTextEdit;

namespace zev {

struct AppContext;
class ZoneSelectionPanel;

class DiagnosisView final : public View {
    Q_OBJECT
public:
    enum Tab { kTabDiagnosis = 0, kTabProtocols = 1 };
    explicit DiagnosisView(AppContext& ctx, QWidget* parent = nullptr);
    ~DiagnosisView() override;

    bool entering(int previousTab) override;

    void cmdStartDiag_Click();
    void cmdStopDiag_Click() { diagnosis_.stop(); }
    void cmdSaveDiag_Click();
    void FindLogFiles();
    void lstProtokolle_Click();
    void cmdEdit_Click();
    void cmdDelProt_Click();
    void cmdPrint_Click();
    int CheckSelection();
    // Unattended: every group ticked, the wiring test started as the operator
    // would, and its protocol saved under `protocolName` (no name dialog).
    void diagnoseAll(const QString& protocolName);

    Diagnosis& diagnosis() { return diagnosis_; }
    QTabWidget* tabs() const { return tabs_; }
    QListWidget* protocolList() const { return lstProtokolle_; }
    QListWidget* runningList() const { return running_; }
    QTextEdit* preview() const { return preview_; }
    ZoneSelectionPanel* selection() const { return selection_; }

private:
    QWidget* diagnosisPage();
    QWidget* protocolPage();
    void showProtocol();
    void LockControl(bool lock);
    void showPreview(const QString& file, const ProtocolFileContent& content);

    AppContext& ctx_;
    Diagnosis diagnosis_;
    ProtocolCommands commands_;
    QTabWidget* tabs_ = nullptr;
    QListWidget* running_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* selectionText_ = nullptr;
    ZoneSelectionPanel* selection_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* save_ = nullptr;
    QListWidget* lstProtokolle_ = nullptr;
    QTextEdit* preview_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* delete_ = nullptr;
};

}  // namespace zev
