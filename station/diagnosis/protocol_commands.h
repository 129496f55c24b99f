// The protocol tab's commands: save the running protocol under a name the
// operator gives, comment, delete and print a stored protocol, and the page
// that preview and printout share.
#pragma once

#include "diagnosis/protocol_file.h"
#include "support/report.h"

#include <QString>
#include <optional>

namespace zev {

struct AppContext;
class Texts;

class ProtocolCommands {
public:
    explicit ProtocolCommands(AppContext& ctx);

    ProtocolFiles files() const;
    // `DoSaveProtocoll`: asks the name until it is valid (or cancelled), asks
    // before replacing a file; the file name saved, or nullopt.
    std::optional<QString> save(const QList<ProtocolLine>& lines);
    // `GetProtokoll`: the content, the operator told when the file is damaged
    // or cannot be read (nullopt then only when nothing could be read).
    std::optional<ProtocolFileContent> load(const QString& fileName);
    // `cmdEdit_Click`: asks the comment with the old one as default and stores it.
    bool editComment(const QString& fileName);
    // `cmdDelProt_Click`: asks, demands the level, deletes.
    bool remove(const QString& fileName);
    // `cmdPrint_Click`: through the printer seam (a PDF file without a printer).
    bool print(const QString& fileName);

    // The page of a protocol: title, tool, date, summary, comment, the lines.
    Report page(const QString& fileName, const ProtocolFileContent& content);
    // `GetState`'s status line (without the leading tab) and whether it is red,
    // green or neither (-1, 1, 0).
    static QString stateText(Texts& texts, const ProtocolState& state, int* colour = nullptr);
    // The symbol printed before a line of a kind.
    static QString symbol(LineKind kind);

private:
    AppContext& ctx_;
};

}  // namespace zev
