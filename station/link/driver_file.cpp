#include "link/driver_file.h"

#include "base/oem_codepage.h"
#include "base/profile_codepage.h"

#include <limits>

namespace zev {

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

bool isBinary(unsigned char c) { return c < 0x20 && c != '\t' && c != '\r' && c != '\n' && c != 0x1A; }

QByteArray trimmed(QByteArray s) {
    while (!s.isEmpty() && isBlank(s.front())) s.remove(0, 1);
    while (!s.isEmpty() && isBlank(s.back())) s.chop(1);
    return s;
}
}  // namespace

std::vector<DriverField> splitDriverFields(QByteArrayView bytes, std::vector<DriverFileWarning>* warnings) {
    std::vector<DriverField> fields;
    int line = 1;
    bool binaryReported = false;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    auto skipLineEnd = [&] {
        if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n') ++i;
        ++i;
        ++line;
    };
    while (i < n) {
        const char c = bytes[i];
        if (isLineEnd(c)) {  // a blank line or the end of a line after a comma: no field
            skipLineEnd();
            continue;
        }
        if (isBlank(c)) { ++i; continue; }
        if (c == 0x1A) break;  // end-of-file mark of old editors
        DriverField field;
        field.line = line;
        if (c == '"') {
            ++i;
            const qsizetype start = i;
            while (i < n && bytes[i] != '"' && !isLineEnd(bytes[i])) ++i;
            field.raw = bytes.sliced(start, i - start).toByteArray();
            if (i < n && bytes[i] == '"') {
                ++i;
            } else if (warnings) {
                warnings->push_back({DriverFileWarning::UnterminatedQuote, line});
            }
            while (i < n && bytes[i] != ',' && !isLineEnd(bytes[i])) ++i;  // junk after the quote
        } else {
            const qsizetype start = i;
            while (i < n && bytes[i] != ',' && !isLineEnd(bytes[i])) ++i;
            field.raw = trimmed(bytes.sliced(start, i - start).toByteArray());
        }
        if (i < n && bytes[i] == ',') ++i;
        for (char b : field.raw)
            if (isBinary(static_cast<unsigned char>(b)) && !binaryReported && warnings) {
                warnings->push_back({DriverFileWarning::BinaryData, field.line});
                binaryReported = true;
            }
        fields.push_back(std::move(field));
    }
    return fields;
}

namespace {
// A decimal integer of 16 bits, or nothing.
bool parseLimit(const QByteArray& raw, int* value) {
    bool ok = false;
    const int v = raw.toInt(&ok, 10);
    if (!ok || v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max()) return false;
    *value = v;
    return true;
}

bool isMarker(const QByteArray& raw) { return raw == "@P" || raw == "@Z" || raw == "@I" || raw == "@X"; }

bool validCode(const QString& code) {
    if (code.isEmpty() || code.size() > 16) return false;
    for (QChar ch : code)
        if (ch.unicode() <= 0x20 || ch.unicode() >= 0x7F || ch == QLatin1Char(']') || ch == QLatin1Char('=') ||
            ch == QLatin1Char('[') || ch == QLatin1Char(';'))
            return false;
    return true;
}
}  // namespace

ParsedDriver parseDriverFields(QByteArrayView bytes, const std::function<void(int)>& onField) {
    ParsedDriver out;
    const std::vector<DriverField> fields = splitDriverFields(bytes, &out.warnings);
    std::size_t k = 0;
    auto next = [&](const DriverField** f) {
        if (k >= fields.size()) return false;
        *f = &fields[k++];
        ++out.fields;
        if (onField) onField(out.fields);
        return true;
    };
    // The next field of a record. A marker there means the record was cut short
    // (a truncated line): the marker is left to start the next record.
    auto field = [&](const DriverField** f) {
        if (k < fields.size() && isMarker(fields[k].raw)) return false;
        return next(f);
    };
    // Reads name, min, max: false when the record ended early.
    auto readLimits = [&](int line, DriverParameterRecord* r, bool oemName) {
        const DriverField *name, *lo, *hi;
        if (!field(&name) || !field(&lo) || !field(&hi)) {
            out.warnings.push_back({DriverFileWarning::MissingFields, line});
            return false;
        }
        r->name = oemName ? fromCodePage850(name->raw) : profile::fromWindows1252(name->raw);
        if (!parseLimit(lo->raw, &r->min) || !parseLimit(hi->raw, &r->max)) {
            // Unreadable limits: the parameter stays visible but cannot be edited.
            out.warnings.push_back({DriverFileWarning::BadNumber, lo->line});
            r->min = r->max = 0;
        }
        return true;
    };
    const DriverField* f = nullptr;
    while (next(&f)) {
        const QByteArray& m = f->raw;
        if (m == "@P") {
            DriverParameterRecord r;
            if (!readLimits(f->line, &r, true)) continue;
            if (out.zoneParameters.size() >= 28) {
                out.warnings.push_back({DriverFileWarning::TooManyZoneParameters, f->line});
                continue;
            }
            out.zoneParameters.push_back(r);
        } else if (m == "@Z") {
            DriverParameterRecord r;
            if (!readLimits(f->line, &r, true)) continue;
            const DriverField* code;
            if (!field(&code)) {
                out.warnings.push_back({DriverFileWarning::MissingFields, f->line});
                continue;
            }
            r.code = profile::fromWindows1252(code->raw);
            if (!validCode(r.code)) {
                out.warnings.push_back({DriverFileWarning::BadCode, code->line});
                continue;
            }
            out.globalParameters.push_back(r);
        } else if (m == "@I") {
            const DriverField *caption, *text;
            if (!field(&caption) || !field(&text)) {
                out.warnings.push_back({DriverFileWarning::MissingFields, f->line});
                continue;
            }
            out.infos.emplace_back(fromCodePage850(caption->raw), profile::fromWindows1252(text->raw));
        } else if (m == "@X") {
            const DriverField* keyword;
            if (!field(&keyword)) {
                out.warnings.push_back({DriverFileWarning::MissingFields, f->line});
                continue;
            }
            if (keyword->raw.trimmed().compare("NOBOOST", Qt::CaseInsensitive) == 0) out.noBoost = true;
        }
    }
    return out;
}

}  // namespace zev
