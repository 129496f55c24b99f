// frmDiagnose in the whole main window at 1024x768, on the simulated mould with
// crossed thermocouples and a broken sensor: a running diagnosis, the finished
// protocol with its faults, saved and shown in the protocol list, and its
// printout as PDF. With ZEV_SCREENSHOT_DIR set, writes diagnosis_running.png,
// diagnosis_protocols.png and diagnosis_protocol.pdf there:
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb ZEV_SCREENSHOT_DIR=docs/screenshots
//     build/bin/test_diagnosis_forms
#include "diagnosis_fixture.h"

#include "diagnosis/forms/diagnosis_view.h"
#include "shell/link_restart.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "shell/system_printer.h"
#include "widgets/zone_selection_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTabBar>
#include <QTextEdit>
#include <QTimer>

namespace zev::test {
namespace {

using zevsim::FaultKind;

class DiagnosisScreens : public DiagnosisSim {};

TEST_F(DiagnosisScreens, RunningDiagnosisProtocolAndList) {
    const QString dir = qEnvironmentVariable("ZEV_SCREENSHOT_DIR");
    for (int z = 1; z <= 24; ++z)
        tc.plant.zone(z).Name = z <= 12 ? QStringLiteral("Düse %1").arg(z) : QStringLiteral("Verteiler %1").arg(z - 12);
    tc.tool.Groups[1].Name = QStringLiteral("Düsenseite");
    tc.tool.Groups[2].Name = QStringLiteral("Verteiler");
    ASSERT_TRUE(bus.plant().inject({FaultKind::BrokenSensor, 1, 9}));
    ASSERT_TRUE(bus.plant().inject({FaultKind::CrossedSensors, 2, 3, 2, 8}));
    const auto before = snapshot();

    SplashWindow splash;
    MainWindow main(*tc.ctx, splash);
    main.InitForms();
    main.mainTimer()->stop();
    for (int i = 0; i < kViewCount; ++i)
        if (i != kViewDiagnosis && main.view(i)) main.view(i)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    main.setGeometry(0, 0, 1024, 768);
    main.show();
    main.selectTab(kViewDiagnosis);
    auto* view = dynamic_cast<DiagnosisView*>(main.view(kViewDiagnosis));
    ASSERT_NE(view, nullptr);
    view->selection()->groupBox(1)->setChecked(true);
    view->selection()->groupBox(2)->setChecked(true);
    EXPECT_EQ(view->CheckSelection(), 24);

    QPixmap running;
    QObject::connect(&view->diagnosis(), &Diagnosis::protocolChanged, view, [&] {
        const auto& l = view->diagnosis().protocol().lines();
        if (running.isNull() && !l.isEmpty() && l.back().text.contains(QStringLiteral("Warte bis Düse 11 "))) {
            QApplication::processEvents();
            EXPECT_FALSE(view->tabs()->tabBar()->isEnabled());  // locked while it runs
            running = main.grab();
            // Meanwhile a tool change, the port window or offline, and closing the window are refused.
            tc.answer({QStringLiteral("1"), QStringLiteral("1")});
            restartLink(*tc.ctx, main, false);
            EXPECT_TRUE(tc.link->Online());
            EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("Während der Diagnose nicht möglich.")));
            EXPECT_FALSE(main.close());
            EXPECT_TRUE(main.isVisible());
        }
    });
    view->cmdStartDiag_Click();
    EXPECT_FALSE(running.isNull());
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(view->diagnosis().protocol().state().faults, 2);  // the broken sensor and the crossing

    tc.answer({QStringLiteral("Wiring Form 7")});
    view->cmdSaveDiag_Click();
    ProtocolFiles files(tc.tool.LogFileDir);
    QString error;
    ASSERT_TRUE(files.save(QStringLiteral("Abnahme 2026-03-01"), {{QStringLiteral("07:00:00\tDiagnoseende."), LineKind::Information}}, &error));
    tc.answer({QStringLiteral("Verteiler 3 und 8: Fühler an der Klemmleiste getauscht?")});
    ASSERT_TRUE(ProtocolCommands(*tc.ctx).editComment(QStringLiteral("Wiring Form 7.log")));
    view->tabs()->setCurrentIndex(DiagnosisView::kTabProtocols);
    QApplication::processEvents();
    ASSERT_EQ(view->protocolList()->count(), 2);
    view->protocolList()->setCurrentRow(1);
    QApplication::processEvents();
    EXPECT_TRUE(view->preview()->toPlainText().contains(QStringLiteral("2 Fehler gefunden!")));
    EXPECT_TRUE(view->preview()->toPlainText().contains(QStringLiteral("Klemmleiste")));
    const QPixmap protocols = main.grab();

    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        ASSERT_TRUE(running.save(QDir(dir).filePath(QStringLiteral("diagnosis_running.png"))));
        ASSERT_TRUE(protocols.save(QDir(dir).filePath(QStringLiteral("diagnosis_protocols.png"))));
        const auto content = files.read(QStringLiteral("Wiring Form 7.log"), &error);
        ASSERT_TRUE(content);
        ASSERT_TRUE(SystemPrinter::printToPdf(ProtocolCommands(*tc.ctx).page(QStringLiteral("Wiring Form 7.log"), *content),
                                              QDir(dir).filePath(QStringLiteral("diagnosis_protocol.pdf")), &error))
            << error.toStdString();
    }
    main.unloadViews();
}

}  // namespace
}  // namespace zev::test
