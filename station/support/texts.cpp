#include "support/texts.h"

#include "base/settings.h"
#include "support/texts_table.h"

#include <QtGlobal>
#include <algorithm>
#include <climits>

namespace zev {

namespace {

const QString kSection = QStringLiteral("LngPtnr");
const QString kKey = QStringLiteral("LngId");
const QString kMarker = QStringLiteral("LNGID=");

// The integer at the start of text the way the old profile and command-line
// readers took it: leading blanks, an optional sign, then digits; 0 when no
// digit follows. A value too large for an int saturates, so that it can never
// pass for a valid language.
int leadingInteger(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = std::min<long long>(value * 10 + (text[i].unicode() - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

struct LanguageTable {
    std::span<const texts_table::Entry> part1[2];
    std::span<const texts_table::Entry> part2;
};

const LanguageTable* tableOf(int lngId) {
    static const LanguageTable german{{texts_table::german113(), texts_table::german753()},
                                      texts_table::german1393()};
    static const LanguageTable english{{texts_table::english113(), texts_table::english753()},
                                       texts_table::english1393()};
    if (lngId == Texts::kGerman) return &german;
    if (lngId == Texts::kEnglish) return &english;
    return nullptr;
}

}  // namespace

namespace texts_table {

const char* find(std::span<const Entry> segment, int n) {
    const auto it = std::lower_bound(segment.begin(), segment.end(), n,
                                     [](const Entry& e, int number) { return e.number < number; });
    return it != segment.end() && it->number == n ? it->text : nullptr;
}

}  // namespace texts_table

Texts::Texts(Settings& settings, Config config) : settings_(settings), config_(std::move(config)) {}

QString Texts::lookup(int lngId, int n) {
    const LanguageTable* table = tableOf(lngId);
    if (table == nullptr) return {};
    // Part 1 first, then part 2; a number in neither has no text.
    for (const auto& segment : table->part1) {
        if (const char* text = texts_table::find(segment, n)) return QString::fromUtf8(text);
    }
    if (const char* text = texts_table::find(table->part2, n)) return QString::fromUtf8(text);
    return {};
}

int Texts::lngIdFromArguments(const QStringList& arguments) {
    const QString line = arguments.join(QLatin1Char(' '));
    const qsizetype at = line.indexOf(kMarker);
    if (at < 0) return 0;
    return leadingInteger(QStringView(line).mid(at + kMarker.size()));
}

void Texts::initialise() {
    determined_ = true;
    lngId_ = lngIdFromArguments(config_.arguments);
    if (lngId_ == 0) lngId_ = storedLanguage();
}

int Texts::language() {
    if (!determined_) initialise();
    return lngId_;
}

bool Texts::setLngId(int id) {
    if (!valid(id)) return false;
    determined_ = true;
    lngId_ = id;
    return true;
}

QString Texts::operator()(int n) {
    if (!determined_) initialise();
    if (!valid(lngId_)) {
        // The handler ends the program; should it return (a test), the caller
        // gets no text rather than a text of some other language.
        if (config_.fatal)
            config_.fatal(wrongLngId());
        else
            qFatal("%s", qPrintable(wrongLngId()));
        return {};
    }
    return lookup(lngId_, n);
}

int Texts::storedLanguage() {
    return leadingInteger(settings_.GetIni(kSection, kKey, QString::number(kGerman), config_.languageFile));
}

bool Texts::storeLanguage(int id) {
    if (!valid(id)) return false;
    settings_.SetIni(kSection, kKey, QString::number(id), config_.languageFile);
    // The store keeps what the file holds, also after a failed write (whose
    // handler has told the operator), so reading back says whether it stuck.
    return storedLanguage() == id;
}

}  // namespace zev
