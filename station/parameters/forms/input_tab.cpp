#include "parameters/forms/input_tab.h"

#include "parameters/forms/lock_picture.h"
#include "parameters/parameter_texts.h"
#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "widgets/touch_style.h"
#include "support/texts.h"
#include "widgets/display_rules.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

namespace {
QPushButton* touchButton(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(name);
    touch::makeTouchButton(b);
    return b;
}

QGroupBox* frame(const QString& caption, const QString& name, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    box->setFont(touch::captionFont());
    return box;
}

QFont valueFont() {
    QFont f = touch::captionFont();
    f.setPointSizeF(f.pointSizeF() * 1.4);
    return f;
}
}  // namespace

InputTab::InputTab(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("tabInput"));
    Texts& t = ctx.texts;
    auto* layout = new QVBoxLayout(this);

    auto* modeFrame = frame(t(ParamText::ModeFrame), QStringLiteral("fraMode"), this);
    auto* modeRow = new QHBoxLayout(modeFrame);
    for (int i = 0; i < 3; ++i) {
        auto* b = touchButton(t(ParamText::ModeOff + i), QStringLiteral("optMode%1").arg(i), modeFrame);
        b->setCheckable(true);
        b->setStyleSheet(QStringLiteral("QPushButton:checked { background-color: #80C0FF; }"));
        connect(b, &QPushButton::clicked, this, [this, i] {
            emit modeClicked(i);
        });
        modes_[static_cast<std::size_t>(i)] = b;
        modeRow->addWidget(b);
    }
    layout->addWidget(modeFrame);

    // Values: actual value, setpoint, output rate, heater current, the current parameter.
    static constexpr int kCaptions[] = {ParamText::CaptionActual, ParamText::CaptionSetpoint, ParamText::CaptionOutput,
                                        ParamText::CaptionCurrent};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        auto* caption = new QLabel(i < 4 ? t(kCaptions[i]) : QString(), this);
        caption->setObjectName(QStringLiteral("lblCaption%1").arg(i));
        caption->setFont(touch::captionFont());
        auto* value = new QLabel(this);
        value->setObjectName(QStringLiteral("lblZoneVal%1").arg(i));
        value->setAccessibleName(i < 4 ? t(kCaptions[i]) : QStringLiteral("lblZoneVal4"));
        value->setFont(valueFont());
        value->setAlignment(Qt::AlignCenter);
        value->setMinimumSize(200, 48);
        value->setAutoFillBackground(true);
        value->setFrameShape(QFrame::Panel);
        value->setFrameShadow(QFrame::Sunken);
        if (i == 1 || i == 2) {
            value->installEventFilter(this);
            value->setCursor(Qt::PointingHandCursor);
        }
        captions_[static_cast<std::size_t>(i)] = caption;
        values_[static_cast<std::size_t>(i)] = value;
        const int row = i / 2, col = (i % 2) * 3;
        grid->addWidget(caption, row * 2, col);
        grid->addWidget(value, row * 2 + 1, col, 1, 2);
    }
    lock_ = new QLabel(this);
    lock_->setObjectName(QStringLiteral("picLockW"));
    lock_->setPixmap(lockPicture(40));
    lock_->setVisible(false);
    grid->addWidget(lock_, 1, 2);
    layout->addLayout(grid);

    auto* frames = new QHBoxLayout;
    boostFrame_ = frame(t(ParamText::BoostFrame), QStringLiteral("fraBoostStndBy"), this);
    auto* boostBox = new QVBoxLayout(boostFrame_);
    boost_ = touchButton(t(ParamText::BoostOn), QStringLiteral("optBoost"), boostFrame_);
    boostTime_ = new QLabel(boostFrame_);
    boostTime_->setObjectName(QStringLiteral("lblBoostTime"));
    boostTime_->setFont(valueFont());
    boostTime_->setAlignment(Qt::AlignCenter);
    boostBox->addWidget(boost_);
    boostBox->addWidget(boostTime_);
    connect(boost_, &QPushButton::clicked, this, &InputTab::boostClicked);
    frames->addWidget(boostFrame_);

    auto* tuningFrame = frame(t(ParamText::TuningFrame), QStringLiteral("fraTuning"), this);
    auto* tuningBox = new QVBoxLayout(tuningFrame);
    tuning_ = new QCheckBox(t(ParamText::TuningOnCaption), tuningFrame);
    tuning_->setObjectName(QStringLiteral("Check1"));
    tuning_->setAccessibleName(QStringLiteral("Check1"));
    tuning_->setFont(touch::captionFont());
    tuning_->setMinimumHeight(touch::kButtonHeight);
    tuning_->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 30px; height: 30px; }"));
    // The box shows the zones' state; a touch asks for the other state.
    connect(tuning_, &QCheckBox::clicked, this, [this] {
        const bool wasOn = tuning_->text() == ctx_.texts(ParamText::TuningOffCaption);
        emit tuningClicked(!wasOn);
    });
    tune_ = touchButton(t(ParamText::TuningAck), QStringLiteral("cmdTune"), tuningFrame);
    connect(tune_, &QPushButton::clicked, this, &InputTab::tuneAckClicked);
    tuningBox->addWidget(tuning_);
    tuningBox->addWidget(tune_);
    frames->addWidget(tuningFrame);

    auto* outputsFrame = frame(t(ParamText::OutputsFrame), QStringLiteral("fraOutputs"), this);
    auto* outputsBox = new QVBoxLayout(outputsFrame);
    outputsPicture_ = new QLabel(outputsFrame);
    outputsPicture_->setObjectName(QStringLiteral("picON_OFF"));
    outputsPicture_->setAlignment(Qt::AlignCenter);
    outputsPicture_->setFont(touch::captionFont());
    outputsPicture_->setMinimumHeight(40);
    outputs_ = touchButton(QString(), QStringLiteral("cmdON"), outputsFrame);
    connect(outputs_, &QPushButton::clicked, this, &InputTab::outputsClicked);
    reset_ = touchButton(t(ParamText::StartZev), QStringLiteral("cmdRESET"), outputsFrame);
    connect(reset_, &QPushButton::clicked, this, &InputTab::resetClicked);
    outputsBox->addWidget(outputsPicture_);
    outputsBox->addWidget(outputs_);
    outputsBox->addWidget(reset_);
    frames->addWidget(outputsFrame);
    layout->addLayout(frames);
    layout->addStretch(1);
    showOutputs(ctx.plant.OutputsOn);
    showBoost(false, QString());
}

bool InputTab::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == values_[1]) emit valueClicked(1);
        else if (watched == values_[2]) emit valueClicked(2);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void InputTab::showDisplay(const InputDisplay& d, int currentParameter, bool setpointLocked) {
    for (int i = 0; i < 3; ++i) modes_[static_cast<std::size_t>(i)]->setChecked(d.mode == i);
    switch (d.tuning) {
    case CommonTuning::On: tuning_->setCheckState(Qt::Checked); break;
    case CommonTuning::Mixed: tuning_->setCheckState(Qt::PartiallyChecked); break;
    default: tuning_->setCheckState(Qt::Unchecked); break;
    }
    tuning_->setEnabled(d.tuning != CommonTuning::None);
    tuning_->setText(ctx_.texts(d.tuning == CommonTuning::On ? ParamText::TuningOffCaption : ParamText::TuningOnCaption));
    const QString unit = ctx_.plant.TemperatureUnit;
    if (d.single) {
        // One zone: the overview's rules and colours.
        for (int kind = 0; kind < 4; ++kind) DispVal(ctx_, d.single, values_[static_cast<std::size_t>(kind)], kind);
    } else {
        const QString texts[] = {rangeText(d.actual, unit), rangeText(d.setpoint, unit),
                                 rangeText(d.output, QStringLiteral("%")), rangeText(d.current, QStringLiteral("A"), 1)};
        for (int i = 0; i < 4; ++i)
            applyLook(values_[static_cast<std::size_t>(i)], {texts[i], look::yellow(), look::black(), false});
    }
    const bool parameter = currentParameter >= 1 && currentParameter <= kZoneParameterCount;
    captions_[4]->setText(parameter ? ctx_.driver.ZoneParameters[static_cast<std::size_t>(currentParameter)].Name : QString());
    captions_[4]->setVisible(parameter);
    values_[4]->setVisible(parameter);
    applyLook(values_[4], {parameter ? rangeText(d.parameter, QString()) : QString(),
                           parameter ? look::yellow() : look::blank(), look::black(), false});
    lock_->setVisible(setpointLocked);
}

void InputTab::showBoost(bool active, const QString& countdown) {
    boost_->setText(ctx_.texts(active ? ParamText::BoostOff : ParamText::BoostOn));
    boostTime_->setText(countdown);
}

void InputTab::showOutputs(bool on) {
    const QString text = ctx_.texts(on ? ParamText::OutputsOnCaption : ParamText::OutputsOffCaption);
    outputs_->setText(text);
    outputsPicture_->setText(text);
    outputsPicture_->setStyleSheet(on ? QStringLiteral("background-color: #00FF00;") : QStringLiteral("background-color: #FF8080;"));
}

void InputTab::setBoostOffered(bool offered) { boostFrame_->setEnabled(offered); }

}  // namespace zev
