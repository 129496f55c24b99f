#include "shell/login_page.h"

#include "base/app_context.h"
#include "widgets/touch_style.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace zev {

LoginPage::LoginPage(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pageLogin"));
    auto* layout = new QGridLayout(this);
    auto* box = new QGroupBox(ctx.texts(1537), this);
    auto* grid = new QGridLayout(box);
    for (int level = 0; level <= 4; ++level) {
        auto* option = new QRadioButton(ctx.users.LevelName(level), box);
        option->setObjectName(QStringLiteral("optLevel%1").arg(level));
        option->setFont(touch::captionFont());
        option->setMinimumHeight(touch::kButtonHeight);
        options_[static_cast<std::size_t>(level)] = option;
        grid->addWidget(option, level, 0);
        // Clicking an option asks for that level; the options then show the level
        // actually held (a refused login leaves it unchanged).
        connect(option, &QRadioButton::clicked, this, [this, level] {
            ctx_.users.TryChangeUserLevel(level);
            showLevel(ctx_.users.UserLevel());
        });
        if (level >= 1) {
            auto* change = new QPushButton(ctx.texts(TextNo::ChangePassword), box);
            change->setObjectName(QStringLiteral("cmdChangePW%1").arg(level));
            touch::makeTouchButton(change);
            change_[static_cast<std::size_t>(level)] = change;
            grid->addWidget(change, level, 1);
            connect(change, &QPushButton::clicked, this, [this, level] { ctx_.users.cmdChangePW_Click(level); });
        }
    }
    layout->addWidget(box, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    connect(&ctx.users, &UserLevels::levelChanged, this, &LoginPage::showLevel);
    showLevel(ctx.users.UserLevel());
}

void LoginPage::showLevel(int level) {
    for (int l = 0; l <= 4; ++l) options_[static_cast<std::size_t>(l)]->setChecked(l == level);
}

}  // namespace zev
