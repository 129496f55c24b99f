// The wiring test on the simulated plant: each injected fault found and named,
// and whatever ends the run, the plant's modes, outputs, setpoints, current
// supervision, automatic power mode and high limit are as before.
#include "diagnosis_fixture.h"

#include "link/link_session.h"

#include <algorithm>

using namespace zev;
using zev::test::DiagnosisSim;
using zevsim::Fault;
using zevsim::FaultKind;

namespace {

TEST_F(DiagnosisSim, HealthyMouldPassesEveryZoneAndIsLeftAsItWas) {
    const auto before = snapshot();
    bool sawRunning = false;
    QObject::connect(diag.get(), &Diagnosis::runningChanged, [&](bool r) { sawRunning |= r && tc.link->DiagnosisRunning(); });
    EXPECT_EQ(diag->DoDiagnose(all()), kDiagPassed);
    EXPECT_TRUE(sawRunning);
    EXPECT_FALSE(tc.link->DiagnosisRunning());
    EXPECT_EQ(lines(LineKind::Fault), QStringList{});
    EXPECT_EQ(lines(LineKind::Passed).filter(QStringLiteral(" erfolgreich von ")).size(), 24);
    EXPECT_TRUE(lines(LineKind::Passed).contains(QStringLiteral("Keine defekten Triacs gefunden")));
    EXPECT_EQ(snapshot(), before);
}

// One fault per row: the start of the line that must name it, and the result of the run.
struct FaultCase {
    const char* name;
    Fault fault;
    const char* expectedLine;
    int result;
};

class DiagnosisFaults : public DiagnosisSim, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(DiagnosisFaults, FaultIsNamedAndThePlantIsAsBefore) {
    const FaultCase& fc = GetParam();
    const auto before = snapshot();
    ASSERT_TRUE(bus.plant().inject(fc.fault));
    bus.advance(1.0);
    bus.waitForScan();
    tc.answer({QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")});  // a trip: "contactor is off"
    EXPECT_EQ(diag->DoDiagnose(all()), fc.result);
    const QStringList faults = lines(LineKind::Fault);
    EXPECT_TRUE(std::any_of(faults.begin(), faults.end(),
                            [&](const QString& l) { return l.startsWith(QString::fromUtf8(fc.expectedLine)); }))
        << faults.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Wiring, DiagnosisFaults,
    ::testing::Values(
        FaultCase{"CrossedHeaters", {FaultKind::CrossedHeaters, 1, 3, 1, 7},
                  ">>> Verdrahtungsfehler! Es reagierte ZONE 007 mit Erhöhung von ", kDiagAborted},
        FaultCase{"CrossedSensors", {FaultKind::CrossedSensors, 1, 4, 2, 2},
                  ">>> Verdrahtungsfehler! Es reagierte ZONE 014 mit Erhöhung von ", kDiagAborted},
        FaultCase{"ReversedSensor", {FaultKind::ReversedSensor, 2, 6}, ">>> Fühlerverpolung? ZONE 018 kühlte bei der Ansteuerung ab.",
                  kDiagPassed},
        FaultCase{"BrokenSensor", {FaultKind::BrokenSensor, 1, 9}, "ZONE 009 hat Fühlerbruch und wird von der Diagnose ausgeschlossen.",
                  kDiagPassed},
        FaultCase{"ShortedTriac", {FaultKind::ShortedTriac, 2, 1}, ">>> Temperaturerhöhung ohne Ansteuerung: ZONE 013 heizte von ",
                  kDiagEmergencyStop},
        FaultCase{"NeverRises", {FaultKind::HeaterOpen, 1, 11}, ">>> Fehler! Keine ausreichende Temperaturerhöhung nach 40 s.",
                  kDiagPassed}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace

namespace {

// Stopped at the start of each step, or while a zone is being heated: the run
// says it was stopped by the operator and the plant is as before.
class DiagnosisStops : public DiagnosisSim, public ::testing::WithParamInterface<const char*> {};

TEST_P(DiagnosisStops, StopAnywhereRestoresEverything) {
    const QString at = QString::fromLatin1(GetParam());
    const auto before = snapshot();
    diag->beforeStep = [&](const QString& step) {
        if (step == at) diag->stop();
    };
    QObject::connect(diag.get(), &Diagnosis::protocolChanged, [&] {
        const auto& l = diag->protocol().lines();
        if (at == QLatin1String("heating") && !l.isEmpty() && l.back().text.contains(QStringLiteral("ZONE 004 [")))
            diag->stop();
    });
    EXPECT_EQ(diag->DoDiagnose(all()), kDiagStopped);
    EXPECT_TRUE(lines(LineKind::Abort).contains(QStringLiteral("Diagnose durch Benutzer abgebrochen.")));
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(tc.link->DiagnosisRunning());
}

INSTANTIATE_TEST_SUITE_P(Steps, DiagnosisStops,
                         ::testing::Values("SaveZEVconfig", "CheckStartTemperatur", "TriacCheck", "WiringCheck", "heating"));

// A failure inside a step goes to the error dialog; each answer ends with the
// plant as before (repeat runs the step again and the test goes on).
class DiagnosisErrors : public DiagnosisSim, public ::testing::WithParamInterface<std::pair<const char*, int>> {};

TEST_P(DiagnosisErrors, ErrorDialogAnsweredEachWayRestoresEverything) {
    const auto [step, choice] = GetParam();
    const auto before = snapshot();
    bool thrown = false;
    diag->beforeStep = [&, at = QString::fromLatin1(step)](const QString& s) {
        if (s == at && !thrown) {
            thrown = true;
            throw std::runtime_error("planted failure");
        }
    };
    tc.answer({QString::number(choice)});
    const int result = diag->DoDiagnose(all());
    EXPECT_TRUE(thrown);
    if (choice == 0) EXPECT_EQ(result, kDiagPassed);  // repeated: the run went through
    else EXPECT_EQ(result, kDiagAborted);
    EXPECT_EQ(snapshot(), before);
}

INSTANTIATE_TEST_SUITE_P(Choices, DiagnosisErrors,
                         ::testing::Values(std::pair{"WiringCheck", 0}, std::pair{"WiringCheck", 1},
                                           std::pair{"TriacCheck", 2}, std::pair{"WiringCheck", 3}));

}  // namespace
