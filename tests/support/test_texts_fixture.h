// A Texts object over a real settings store in a temporary program directory,
// with a fatal handler that records instead of ending the test program.
#pragma once

#include "base/settings.h"
#include "support/texts.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace zev::test {

class TextsTest : public ::testing::Test {
protected:
    QString languageFile() const { return home_.path() + QStringLiteral("/ZEV3.INI"); }

    void writeLanguageFile(const QByteArray& bytes) const {
        QFile f(languageFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QByteArray languageFileBytes() const {
        QFile f(languageFile());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // A new program run with the given command line.
    Texts& start(const QStringList& arguments = {QStringLiteral("zevcontrol")}) {
        settings_ = std::make_unique<Settings>(home_.path());
        Texts::Config config;
        config.arguments = arguments;
        config.languageFile = languageFile();
        config.fatal = [this](const QString& message) { fatal_ << message; };
        texts_ = std::make_unique<Texts>(*settings_, config);
        return *texts_;
    }

    QTemporaryDir home_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<Texts> texts_;
    QStringList fatal_;
};

}  // namespace zev::test
