#include "shell/language_page.h"

#include "base/app_context.h"
#include "widgets/touch_style.h"
#include "shell/updater.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zev {

bool optLanguage_MouseDown(AppContext& ctx, int index, QWidget* mainWindow) {
    const int chosen = index + 1;
    if (ctx.texts.storedLanguage() == chosen) return false;
    const int answer = ctx.op.notice(ctx.texts(316) + QStringLiteral("\r\n") + ctx.texts(348), ctx.texts(488),
                                     ctx.texts(489), QString(), kNoticeQuestion);
    if (answer != 1) return false;
    ctx.texts.storeLanguage(chosen);
    RestartThroughUpdater(ctx, mainWindow);
    return true;
}

LanguagePage::LanguagePage(AppContext& ctx, QWidget* mainWindow, QWidget* parent)
    : QWidget(parent), ctx_(ctx), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("pageLanguage"));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(ctx.texts(TextNo::LanguageCaption), this);
    auto* boxLayout = new QVBoxLayout(box);
    const int captions[] = {TextNo::German, TextNo::English};
    for (int i = 0; i < 2; ++i) {
        options_[i] = new QRadioButton(ctx.texts(captions[i]), box);
        options_[i]->setObjectName(QStringLiteral("optLanguage%1").arg(i));
        options_[i]->setFont(touch::captionFont());
        options_[i]->setMinimumHeight(touch::kButtonHeight);
        boxLayout->addWidget(options_[i]);
        connect(options_[i], &QRadioButton::clicked, this, [this, i] {
            optLanguage_MouseDown(ctx_, i, mainWindow_);
            showStored();
        });
    }
    layout->addWidget(box, 0, Qt::AlignTop | Qt::AlignLeft);
    showStored();
}

void LanguagePage::showStored() {
    const int stored = ctx_.texts.storedLanguage();
    if (stored >= 1 && stored <= 2) options_[stored - 1]->setChecked(true);
}

}  // namespace zev
