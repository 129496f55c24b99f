// The driver file read as a stream of comma-separated fields: "@P" zone
// parameters, "@Z" global parameters, "@I" information rows, "@X" keywords.
// Pure parsing: a damaged file yields what could be read plus warnings.
#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <vector>

namespace zev {

struct DriverFileWarning {
    enum Kind {
        TooManyZoneParameters,  // a 29th "@P"
        BadNumber,              // a limit that is not a decimal integer
        BadCode,                // an "@Z" code that cannot name a command
        UnterminatedQuote,
        MissingFields,          // the file ends inside a record
        BinaryData,             // control characters in the file
    };
    Kind kind;
    int line;                   // 1-based line of the field
};

struct DriverParameterRecord {
    QString name;
    int min = 0;
    int max = 0;
    QString code;               // "@Z" only
};

struct ParsedDriver {
    std::vector<DriverParameterRecord> zoneParameters;    // at most 28, in order
    std::vector<DriverParameterRecord> globalParameters;  // file order
    std::vector<std::pair<QString, QString>> infos;       // caption, text
    bool noBoost = false;
    std::vector<DriverFileWarning> warnings;
    int fields = 0;
};

// onField is called after every field (progress and event pumping).
ParsedDriver parseDriverFields(QByteArrayView bytes, const std::function<void(int field)>& onField = {});

// One field of the stream: the text, whether it was quoted and its raw bytes.
struct DriverField {
    QByteArray raw;   // without quotes and surrounding blanks
    int line = 1;
};
// Splits the stream into fields (exposed for tests).
std::vector<DriverField> splitDriverFields(QByteArrayView bytes, std::vector<DriverFileWarning>* warnings);

}  // namespace zev
