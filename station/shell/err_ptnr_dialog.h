// The error dialog `ErrPtnr`: shows a failure with its protocol and returns the
// operator's choice (0 repeat, 1 continue, 2 leave, 3 end); it can print and
// store the protocol.
#pragma once

#include "support/operator.h"

#include <QDialog>

class QPushButton;

namespace zev {

class Texts;

class ErrPtnrDialog : public QDialog {
    Q_OBJECT
public:
    ErrPtnrDialog(Texts& texts, const ErrorReport& report, ErrorReportActions& actions,
                  QWidget* parent = nullptr);
    int choice() const { return choice_; }
    QPushButton* choiceButton(int index) const { return choices_[index]; }
    void cmdContinue_Click(int index);
    void cmdProtocol_Click(int index);

private:
    ErrorReportActions& actions_;
    int choice_ = 2;  // closing the window leaves the procedure
    QPushButton* choices_[4] = {};
};

}  // namespace zev
