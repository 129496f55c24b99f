// Configuration page of the user levels: the level options (choosing one logs
// in or steps down) and the password commands of levels 1 to 4.
#pragma once

#include <QWidget>
#include <array>

class QRadioButton;
class QPushButton;

namespace zev {

struct AppContext;

class LoginPage final : public QWidget {
    Q_OBJECT
public:
    LoginPage(AppContext& ctx, QWidget* parent = nullptr);
    QRadioButton* levelOption(int level) const { return options_[static_cast<std::size_t>(level)]; }
    QPushButton* changePasswordButton(int level) const { return change_[static_cast<std::size_t>(level)]; }

private:
    void showLevel(int level);

    AppContext& ctx_;
    std::array<QRadioButton*, 5> options_{};
    std::array<QPushButton*, 5> change_{};  // 1..4 used
};

}  // namespace zev
