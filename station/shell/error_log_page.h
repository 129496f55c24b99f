// Configuration page of the error log ZEV3.ERR: shown read-only, deleted at level 4.
#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace zev {

struct AppContext;

class ErrorLogPage final : public QWidget {
    Q_OBJECT
public:
    ErrorLogPage(AppContext& ctx, QWidget* parent = nullptr);
    void ReadErrorFile();
    void cmdDeleteErrLog_Click();
    QPlainTextEdit* text() const { return text_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    AppContext& ctx_;
    QPlainTextEdit* text_;
};

}  // namespace zev
