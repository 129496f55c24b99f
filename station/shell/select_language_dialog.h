// frmSelectLng: the language selection window. A list with "Deutsch" (language
// 1) and "Englisch" (language 2); a double-click on an entry, or the Enter key
// on the list, sets the language of the run to the entry's number and closes
// the window. Sized for a finger on a touch panel.
#pragma once

#include <QDialog>

class QListWidget;
class QListWidgetItem;

namespace zev {

class Texts;

class SelectLanguageDialog : public QDialog {
    Q_OBJECT
public:
    explicit SelectLanguageDialog(Texts& texts, QWidget* parent = nullptr);

    // The number chosen (1 or 2), 0 while none is (or when the window was closed
    // without a choice).
    int chosen() const { return chosen_; }
    QListWidget* list() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(QListWidgetItem* item);

    Texts& texts_;
    QListWidget* list_ = nullptr;
    int chosen_ = 0;
};

}  // namespace zev
