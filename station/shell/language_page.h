// Configuration page of the language: choosing the other language stores it and
// restarts the station through the updater.
#pragma once

#include <QWidget>

class QRadioButton;

namespace zev {

struct AppContext;

// `optLanguage_MouseDown`: option index i chooses language i + 1. Returns true
// when the new language was stored.
bool optLanguage_MouseDown(AppContext& ctx, int index, QWidget* mainWindow);

class LanguagePage final : public QWidget {
    Q_OBJECT
public:
    LanguagePage(AppContext& ctx, QWidget* mainWindow, QWidget* parent = nullptr);
    QRadioButton* option(int index) const { return options_[index]; }
    void showStored();

private:
    AppContext& ctx_;
    QWidget* mainWindow_;
    QRadioButton* options_[2] = {};
};

}  // namespace zev
