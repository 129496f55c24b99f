#include "shell/select_language_dialog.h"

#include "support/texts.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kRoleLanguage = Qt::UserRole;
// A fingertip is about 10 mm: rows of 64 px and a large font on a panel.
constexpr int kRowHeight = 64;
constexpr int kFontPixels = 28;
constexpr int kTextSelectionCaption = 505;
constexpr int kTextGerman = 503;
constexpr int kTextEnglish = 504;
}  // namespace

SelectLanguageDialog::SelectLanguageDialog(Texts& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
    setObjectName(QStringLiteral("frmSelectLng"));
    setWindowTitle(texts_(kTextSelectionCaption));
    setModal(true);

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("lstLanguage"));
    QFont font = list_->font();
    font.setPixelSize(kFontPixels);
    list_->setFont(font);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int entries[][2] = {{kTextGerman, Texts::kGerman}, {kTextEnglish, Texts::kEnglish}};
    for (const auto& [textNumber, language] : entries) {
        auto* item = new QListWidgetItem(texts_(textNumber), list_);
        item->setData(kRoleLanguage, language);
        item->setSizeHint(QSize(0, kRowHeight));
    }
    list_->setCurrentRow(0);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemDoubleClicked, this, &SelectLanguageDialog::choose);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    const int frame = 2 * list_->frameWidth();
    list_->setMinimumSize(360, list_->count() * kRowHeight + frame);
    setMinimumSize(400, list_->count() * kRowHeight + frame + 40);
    list_->setFocus();
}

bool SelectLanguageDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            choose(list_->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SelectLanguageDialog::choose(QListWidgetItem* item) {
    if (item == nullptr) return;
    const int language = item->data(kRoleLanguage).toInt();
    if (!texts_.setLngId(language)) return;
    chosen_ = language;
    accept();
}

}  // namespace zev
