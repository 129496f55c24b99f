#include "diagnosis/protocol_commands.h"

#include "base/app_context.h"
#include "base/progress_line.h"
#include "plant/tool_data.h"
#include "support/operator.h"
#include "support/printing.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/user_levels.h"

namespace zev {

namespace {
constexpr int kDeleteLevel = 3;  // the level that starts a diagnosis

// The page is laid out in columns of a fixed pitch; a tab moves to the next stop
// of twelve characters, so times, captions and messages line up on paper.
QString expandTabs(const QString& line) {
    QString out;
    for (QChar c : line) {
        if (c != QLatin1Char('\t')) {
            out += c;
            continue;
        }
        do out += QLatin1Char(' ');
        while (out.size() % 12 != 0);
    }
    return out;
}
}

ProtocolCommands::ProtocolCommands(AppContext& ctx) : ctx_(ctx) {}

ProtocolFiles ProtocolCommands::files() const { return ProtocolFiles(ctx_.tool.LogFileDir); }

std::optional<QString> ProtocolCommands::save(const QList<ProtocolLine>& lines) {
    Texts& T = ctx_.texts;
    const ProtocolFiles f = files();
    for (;;) {
        const std::optional<QString> name = ctx_.op.enterText(T(665), {});
        if (!name) return std::nullopt;
        switch (checkProtocolName(*name)) {
        case ProtocolNameCheck::Empty: ctx_.op.notice(T(666), T(TextNo::Ok), {}, {}, kNoticePlain); continue;
        case ProtocolNameCheck::BadCharacter: ctx_.op.notice(T(667), T(TextNo::Ok), {}, {}, kNoticePlain); continue;
        case ProtocolNameCheck::Reserved: ctx_.op.notice(T(705), T(TextNo::Ok), {}, {}, kNoticePlain); continue;
        case ProtocolNameCheck::Ok: break;
        }
        if (f.exists(*name) && ctx_.op.notice(T(668), T(669), T(670), {}, kNoticeQuestion) != 1) continue;
        QString error;
        if (!f.save(*name, lines, &error)) {
            ctx_.op.notice(T(TextNo::FileWriteFailed) + f.path(*name) + QStringLiteral("\r\n") + error, T(TextNo::Ok), {},
                           {}, kNoticePlain);
            return std::nullopt;
        }
        return *name + QStringLiteral(".log");
    }
}

std::optional<ProtocolFileContent> ProtocolCommands::load(const QString& fileName) {
    QString error;
    std::optional<ProtocolFileContent> c = files().read(fileName, &error);
    if (!c || c->damaged)
        ctx_.op.notice(ctx_.texts(704) + fileName + (error.isEmpty() ? QString() : QStringLiteral("\r\n") + error),
                       ctx_.texts(TextNo::Ok), {}, {}, kNoticePlain);
    return c;
}

bool ProtocolCommands::editComment(const QString& fileName) {
    Texts& T = ctx_.texts;
    const std::optional<ProtocolFileContent> c = load(fileName);
    if (!c || c->damaged) return false;
    const std::optional<QString> comment = ctx_.op.enterText(T(671), c->comment.value_or(QString()));
    if (!comment) return false;
    bool damaged = false;
    QString error;
    if (files().writeComment(fileName, *comment, &damaged, &error)) return true;
    ctx_.op.notice((damaged ? T(704) : T(TextNo::FileWriteFailed)) + fileName + QStringLiteral("\r\n") + error,
                   T(TextNo::Ok), {}, {}, kNoticePlain);
    return false;
}

bool ProtocolCommands::remove(const QString& fileName) {
    Texts& T = ctx_.texts;
    if (ctx_.op.notice(T(672), T(673), T(674), {}, kNoticeQuestion) != 1) return false;
    if (!ctx_.users.CheckLevel(kDeleteLevel)) return false;
    QString error;
    if (files().remove(fileName, &error)) return true;
    ctx_.op.notice(fileName + QStringLiteral("\r\n") + error, T(TextNo::Ok), {}, {}, kNoticePlain);
    return false;
}

QString ProtocolCommands::stateText(Texts& texts, const ProtocolState& state, int* colour) {
    int c = 0;
    QString text;
    if (state.faults > 0) {
        c = -1;
        text = QString::number(state.faults) + texts(661);
    } else if (!state.aborted) {
        c = 1;
        text = texts(662);
    } else {
        text = texts(663);
    }
    if (colour) *colour = c;
    return text;
}

QString ProtocolCommands::symbol(LineKind kind) {
    switch (kind) {
    case LineKind::Passed: return QStringLiteral("[+]");
    case LineKind::Fault: return QStringLiteral("[!]");
    case LineKind::Abort: return QStringLiteral("[X]");
    default: return QStringLiteral("[ ]");
    }
}

Report ProtocolCommands::page(const QString& fileName, const ProtocolFileContent& content) {
    Texts& T = ctx_.texts;
    Report r;
    r.title = T(675);
    r.pageLabel = T(678);
    r.headerLines << expandTabs(T(676) + QLatin1Char('\t') + ctx_.tool.ToolName)
                  << expandTabs(T(677) + QLatin1Char('\t') +
                                files().date(fileName).toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")))
                  << expandTabs(QLatin1Char('\t') + stateText(T, RunningProtocol::GetState(content.lines)))
                  << fileName;
    r.addLines(content.comment.value_or(T(664)).split(QLatin1Char('\n')), false);
    QStringList body;
    for (const ProtocolLine& l : content.lines) body << symbol(l.kind) + QLatin1Char(' ') + expandTabs(l.text);
    r.addLines(body);
    return r;
}

bool ProtocolCommands::print(const QString& fileName) {
    Texts& T = ctx_.texts;
    const std::optional<ProtocolFileContent> c = load(fileName);
    if (!c) return false;
    ctx_.progress.setAction(T(679));
    QString error, pdf;
    const bool ok = ctx_.printer.print(page(fileName, *c), &error, &pdf);
    ctx_.progress.setAction({});
    if (!ok) ctx_.op.notice(T(680) + error, T(TextNo::Ok), {}, {}, kNoticePlain);
    else if (!pdf.isEmpty()) ctx_.op.notice(T(TextNo::PrintedToFile) + pdf, T(TextNo::Ok), {}, {}, kNoticePlain);
    return ok;
}

}  // namespace zev
