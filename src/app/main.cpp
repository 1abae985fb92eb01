#include <QApplication>

#include "app/clipboard_handoff.h"
#include "app/main_window.h"
#include "app/run_ports.h"
#include "app/site_worker_launcher.h"
#include "app/toolkit_texts.h"
#include "config/app_config.h"
#include "config/network_settings.h"
#include "config/site_addresses.h"
#include "net/http_proxy.h"
#include "sitedefs/program_definitions.h"
#include "sitedefs/site_roster.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    sirelo::InstallChineseToolkitTexts();
    // Lives until the process ends: workers may be running at any moment.
    static const sirelo::SteadyClock clock;
    // Before any thread starts: the board loader fetches at once.
    sirelo::SetHttpProxy(sirelo::ReadProxySetting(sirelo::TheAppConfig()));
    // Read once, before any worker runs; problems go to stderr, and the first
    // opens the tooltips of the sites they keep built in.
    static const sirelo::LoadedDefinitions loaded =
        sirelo::LoadProgramDefinitions(sirelo::TheAppConfig(), stderr);
    const sirelo::SiteDefinitions& definitions = loaded.definitions;
    auto* window = new sirelo::MainWindow(
        clock, definitions, sirelo::ReadSiteAddresses(sirelo::TheAppConfig(), definitions),
        sirelo::MakeSiteWorkerLauncher);
    window->showDefinitionProblems(loaded.problems);
    // Closing ends the process at once: no prompt, no wait for running threads.
    QObject::connect(window, &sirelo::MainWindow::closed, [] { sirelo::EndProgram(); });
    window->show();
    app.exec();
    sirelo::EndProgram();
}
