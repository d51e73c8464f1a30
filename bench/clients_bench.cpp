// Figures of the clients work area against the access layer alone, in one run:
// - choosing the large emitent in the picker until the grid has painted its rows, versus opening
//   the same clients query with db::Query;
// - "Выделить все" over that emitent's rows, versus the same open.
#include "BenchSupport.h"
#include "ClientsQuery.h"
#include "ClientsWorkArea.h"
#include "ConsoleBenchSupport.h"
#include "DbHelpers.h"
#include "FrameworkFiles.h"
#include "InMemoryServiceManager.h"
#include "ModalRunner.h"
#include "Query.h"
#include "Session.h"
#include "TdmMain.h"
#include "TfrmMain.h"
#include "TfrmSelectEmitent.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

using bench::median;
using bench::timed;

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int emitent = bench::benchEmitent();
    QTemporaryDir folder;
    bench::useAppFolder(folder, "[SCHEMES]\r\nTEV=1\r\n[CLIENT_CONFIGS]\r\nLAST_SELECTED_EM=1\r\n");

    TdmMain dm;
    bench::signIn(dm);
    db::Session* session = dm.session();

    // The console's main window on the first emitent, as the start-up shows it.
    InMemoryServiceManager services;
    setServiceManager(&services);
    TfrmMain window(dm);
    window.resize(1200, 760);
    window.show();
    ClientsWorkArea* area = window.workArea();
    const int small = area->CurrentEmitentId();
    QCoreApplication::processEvents();
    if (!window.Initialized()) {
        std::fprintf(stderr, "the main window did not load its workspace\n");
        return 1;
    }

    // The reference: the same query opened by the access layer alone.
    QObject owner;
    db::Query reference(&owner);
    ClientsQuery::Setup(reference);
    reference.setSession(session);
    fSetShemaForComponent(&reference, dm.ActiveScheme());
    reference.setParam("emitent_id", emitent);
    reference.setParam("rpt", 0);
    reference.open(); // warms the server's caches
    const int rows = reference.recordCount();
    reference.close();

    int answer = emitent;
    // Answers the emitent picker as a person would: the row of the wanted emitent, then OK.
    struct PickerAnswer : framework::ModalRunner
    {
        int* answer = nullptr;
        int exec(QDialog& dialog) override
        {
            auto* picker = qobject_cast<TfrmSelectEmitent*>(&dialog);
            if (!picker)
                return QDialog::Rejected;
            picker->list()->locate(QStringLiteral("EMITENT_ID_WEB"), *answer);
            return QDialog::Accepted;
        }
    } pickerAnswer;
    pickerAnswer.answer = &answer;
    framework::setModalRunner(&pickerAnswer);
    auto choose = [&](int id) {
        answer = id;
        area->btnSelectEmitentClick();
        // the grid paints what the reset of its model asked for
        QCoreApplication::processEvents();
    };

    std::vector<double> opens, switches, selects;
    for (int i = 0; i < 5; ++i) {
        opens.push_back(timed([&] { reference.open(); }));
        reference.close();
        session->commit();

        choose(small);
        switches.push_back(timed([&] { choose(emitent); }));

        selects.push_back(timed([&] {
            area->acSelectAll()->trigger();
            QCoreApplication::processEvents();
        }));
        area->acSelectNone()->trigger();
    }
    const double open = median(opens);
    std::printf("# %d rows; db::Query open %.1f ms, emitent switch %.1f ms, select all %.2f ms\n", rows,
                open / 1e6, median(switches) / 1e6, median(selects) / 1e6);
    std::printf("emitent_switch_vs_open: %.3f (target <= 2)\n", median(switches) / open);
    std::printf("select_all_vs_open: %.4f (target <= 0.05)\n", median(selects) / open);
    framework::setModalRunner(nullptr);
    setServiceManager(nullptr);
    return 0;
}
