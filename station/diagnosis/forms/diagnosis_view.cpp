#include "diagnosis/forms/diagnosis_view.h"

#include "base/app_context.h"
#include "link/link_session.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "widgets/zone_selection_panel.h"
#include "widgets/touch_style.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kOfflineText = 1409;
constexpr int kStartLevel = 3;

QColor kindColour(LineKind kind) {
    switch (kind) {
    case LineKind::Passed: return QColor(0, 128, 0);
    case LineKind::Fault: return QColor(200, 0, 0);
    case LineKind::Abort: return QColor(160, 80, 0);
    default: return QColor(0, 0, 0);
    }
}

QPushButton* button(const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setAccessibleName(caption);
    b->setMinimumHeight(44);
    return b;
}
}  // namespace

DiagnosisView::DiagnosisView(AppContext& ctx, QWidget* parent)
    : View(parent), ctx_(ctx), diagnosis_(ctx), commands_(ctx) {
    setObjectName(QStringLiteral("frmDiagnose"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    tabs_ = new QTabWidget(this);
    touch::makeTouchTabs(tabs_);
    tabs_->addTab(diagnosisPage(), ctx_.texts(687));
    tabs_->addTab(protocolPage(), ctx_.texts(688));
    tabs_->setAccessibleName(ctx_.texts(687));
    layout->addWidget(tabs_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int t) {
        if (t == kTabProtocols) FindLogFiles();
    });
    connect(&diagnosis_, &Diagnosis::protocolChanged, this, &DiagnosisView::showProtocol);
    connect(&diagnosis_, &Diagnosis::runningChanged, this, &DiagnosisView::LockControl);
    connect(&diagnosis_, &Diagnosis::progress, progress_, &QProgressBar::setValue);
    CheckSelection();
}

DiagnosisView::~DiagnosisView() = default;

QWidget* DiagnosisView::diagnosisPage() {
    Texts& T = ctx_.texts;
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    running_ = new QListWidget(page);
    running_->setObjectName(QStringLiteral("lstDiagnose"));
    running_->setAccessibleName(T(687));
    left->addWidget(running_, 1);
    progress_ = new QProgressBar(page);
    progress_->setRange(0, 100);
    left->addWidget(progress_);
    row->addLayout(left, 1);

    auto* right = new QVBoxLayout;
    selection_ = new ZoneSelectionPanel(ctx_, page, 2);
    right->addWidget(selection_);
    selectionText_ = new QLabel(page);
    selectionText_->setWordWrap(true);
    right->addWidget(selectionText_);
    start_ = button(T(681), page);
    stop_ = button(T(682), page);
    save_ = button(T(683), page);
    right->addWidget(start_);
    right->addWidget(stop_);
    right->addWidget(save_);
    right->addStretch(1);
    row->addLayout(right);
    stop_->setEnabled(false);
    save_->setEnabled(false);
    connect(selection_, &ZoneSelectionPanel::selectionChanged, this, [this] { CheckSelection(); });
    connect(start_, &QPushButton::clicked, this, &DiagnosisView::cmdStartDiag_Click);
    connect(stop_, &QPushButton::clicked, this, &DiagnosisView::cmdStopDiag_Click);
    connect(save_, &QPushButton::clicked, this, &DiagnosisView::cmdSaveDiag_Click);
    return page;
}

QWidget* DiagnosisView::protocolPage() {
    Texts& T = ctx_.texts;
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;
    lstProtokolle_ = new QListWidget(page);
    lstProtokolle_->setObjectName(QStringLiteral("lstProtokolle"));
    lstProtokolle_->setAccessibleName(T(688));
    lstProtokolle_->setMaximumWidth(260);
    left->addWidget(lstProtokolle_, 1);
    print_ = button(T(684), page);
    edit_ = button(T(685), page);
    delete_ = button(T(686), page);
    left->addWidget(print_);
    left->addWidget(edit_);
    left->addWidget(delete_);
    row->addLayout(left);
    preview_ = new QTextEdit(page);
    preview_->setReadOnly(true);
    preview_->setAccessibleName(T(675));
    row->addWidget(preview_, 1);
    connect(lstProtokolle_, &QListWidget::currentRowChanged, this, [this] { lstProtokolle_Click(); });
    connect(print_, &QPushButton::clicked, this, &DiagnosisView::cmdPrint_Click);
    connect(edit_, &QPushButton::clicked, this, &DiagnosisView::cmdEdit_Click);
    connect(delete_, &QPushButton::clicked, this, &DiagnosisView::cmdDelProt_Click);
    return page;
}

bool DiagnosisView::entering(int) {
    CheckSelection();
    if (tabs_->currentIndex() == kTabProtocols) FindLogFiles();
    return true;
}

int DiagnosisView::CheckSelection() {
    std::vector<bool> sel;
    const int n = selection_->CheckSelZone(sel);
    start_->setEnabled(n > 0 && !diagnosis_.running());
    selectionText_->setText(QString::number(n) + QStringLiteral(" / ") + QString::number(ctx_.plant.ZoneCount));
    return n;
}

void DiagnosisView::cmdStartDiag_Click() {
    if (!ctx_.link->Online()) {
        ctx_.op.notice(ctx_.texts(kOfflineText), ctx_.texts(TextNo::Ok), {}, {}, kNoticePlain);
        return;
    }
    if (!ctx_.users.CheckLevel(kStartLevel)) return;
    std::vector<bool> sel;
    if (selection_->CheckSelZone(sel) == 0) return;
    diagnosis_.DoDiagnose(sel);
    save_->setEnabled(!diagnosis_.protocol().lines().isEmpty());
}

void DiagnosisView::diagnoseAll(const QString& protocolName) {
    for (int g = 0; g <= kGroupCount; ++g) selection_->groupBox(g)->setChecked(true);
    cmdStartDiag_Click();
    QString error;
    if (!diagnosis_.protocol().lines().isEmpty() && !commands_.files().save(protocolName, diagnosis_.protocol().lines(), &error))
        ctx_.op.notice(ctx_.texts(TextNo::FileWriteFailed) + commands_.files().path(protocolName) + QStringLiteral("\r\n") + error,
                       ctx_.texts(TextNo::Ok), {}, {}, kNoticePlain);
}

void DiagnosisView::LockControl(bool lock) {
    for (QWidget* w : {static_cast<QWidget*>(selection_), static_cast<QWidget*>(start_), static_cast<QWidget*>(save_)})
        w->setEnabled(!lock);
    tabs_->tabBar()->setEnabled(!lock);
    stop_->setEnabled(lock);
    if (!lock) CheckSelection();
}

void DiagnosisView::showProtocol() {
    const auto& lines = diagnosis_.protocol().lines();
    while (running_->count() > lines.size()) delete running_->takeItem(running_->count() - 1);
    for (int i = 0; i < lines.size(); ++i) {
        QListWidgetItem* item = i < running_->count() ? running_->item(i) : new QListWidgetItem(running_);
        item->setText(ProtocolCommands::symbol(lines[i].kind) + QLatin1Char(' ') + lines[i].text);
        item->setForeground(kindColour(lines[i].kind));
    }
    running_->scrollToBottom();
}

void DiagnosisView::cmdSaveDiag_Click() {
    if (commands_.save(diagnosis_.protocol().lines())) save_->setEnabled(false);
}

void DiagnosisView::FindLogFiles() {
    const QString current = lstProtokolle_->currentItem() ? lstProtokolle_->currentItem()->text() : QString();
    lstProtokolle_->blockSignals(true);
    lstProtokolle_->clear();
    lstProtokolle_->addItems(commands_.files().list());
    lstProtokolle_->blockSignals(false);
    const bool any = lstProtokolle_->count() > 0;
    for (QPushButton* b : {print_, edit_, delete_}) b->setEnabled(any);
    const auto found = lstProtokolle_->findItems(current, Qt::MatchExactly);
    lstProtokolle_->setCurrentRow(found.isEmpty() ? (any ? 0 : -1) : lstProtokolle_->row(found.first()));
    if (!any) preview_->clear();
}

void DiagnosisView::lstProtokolle_Click() {
    if (!lstProtokolle_->currentItem()) return;
    const QString file = lstProtokolle_->currentItem()->text();
    if (const auto c = commands_.load(file)) showPreview(file, *c);
}

void DiagnosisView::showPreview(const QString& file, const ProtocolFileContent& content) {
    const Report page = commands_.page(file, content);
    int colour = 0;
    ProtocolCommands::stateText(ctx_.texts, RunningProtocol::GetState(content.lines), &colour);
    QString html = QStringLiteral("<h3 align=center>%1</h3>").arg(page.title.toHtmlEscaped());
    for (int i = 0; i < page.headerLines.size(); ++i) {
        QString l = page.headerLines[i].toHtmlEscaped().replace(QLatin1Char('\t'), QStringLiteral("&nbsp;&nbsp;"));
        if (i == 2 && colour != 0) l = QStringLiteral("<b style='color:%1'>%2</b>").arg(colour < 0 ? QStringLiteral("red") : QStringLiteral("green"), l);
        html += l + QStringLiteral("<br>");
    }
    html += QStringLiteral("<p><i>%1</i></p><pre>").arg(content.comment.value_or(ctx_.texts(664)).toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    for (const ProtocolLine& l : content.lines)
        html += QStringLiteral("<span style='color:%1'>%2</span>\n")
                    .arg(kindColour(l.kind).name(), (ProtocolCommands::symbol(l.kind) + QLatin1Char(' ') + l.text).toHtmlEscaped());
    html += QStringLiteral("</pre>");
    preview_->setHtml(html);
}

void DiagnosisView::cmdEdit_Click() {
    if (!lstProtokolle_->currentItem()) return;
    if (commands_.editComment(lstProtokolle_->currentItem()->text())) lstProtokolle_Click();
}

void DiagnosisView::cmdDelProt_Click() {
    if (!lstProtokolle_->currentItem()) return;
    if (commands_.remove(lstProtokolle_->currentItem()->text())) FindLogFiles();
}

void DiagnosisView::cmdPrint_Click() {
    if (lstProtokolle_->currentItem()) commands_.print(lstProtokolle_->currentItem()->text());
}

}  // namespace zev
