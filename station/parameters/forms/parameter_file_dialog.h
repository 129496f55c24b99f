// frmParameterFile: the recipe window. A list of the tool's recipes
// (vbalParamRzp), "OK" with the load or the save picture, "Abbruch", and on
// saving "Neu", which asks for a new name on the on-screen keyboard. Its
// result is the chosen name (empty: cancelled).
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace zev {

struct AppContext;

class ParameterFileDialog final : public QDialog {
    Q_OBJECT
public:
    ParameterFileDialog(AppContext& ctx, bool save, const QStringList& names, QWidget* parent = nullptr);

    const QString& result() const { return result_; }
    QListWidget* vbalParamRzp() const { return list_; }
    QPushButton* cmdOK() const { return ok_; }
    QPushButton* cmdAbort() const { return abort_; }
    QPushButton* cmdNew() const { return new_; }

    void cmdOK_Click();
    void cmdAbort_Click();
    void cmdNew_Click();

private:
    AppContext& ctx_;
    QString result_;
    QListWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* abort_ = nullptr;
    QPushButton* new_ = nullptr;
};

// The dialog over `parent`, modal: LoadRezept without "Neu", SaveRezept with it.
QString LoadRezept(AppContext& ctx, const QStringList& names, QWidget* parent);
QString SaveRezept(AppContext& ctx, const QStringList& names, QWidget* parent);

}  // namespace zev
