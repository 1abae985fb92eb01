#include <QApplication>

#include <ctime>

#include "app/clipboard_handoff.h"
#include "app/detached_thread.h"
#include "app/feed_check_start.h"
#include "app/main_window.h"
#include "app/run_ports.h"
#include "app/site_worker_launcher.h"
#include "app/toolkit_texts.h"
#include "config/app_config.h"
#include "config/network_settings.h"
#include "config/site_addresses.h"
#include "net/http_proxy.h"
#include "sitedefs/definition_layers.h"
#include "sitedefs/site_roster.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    sirelo::InstallChineseToolkitTexts();
    // Lives until the process ends: workers may be running at any moment.
    static const sirelo::SteadyClock clock;
    // Before any thread starts: the board loader fetches at once.
    sirelo::SetHttpProxy(sirelo::ReadProxySetting(sirelo::TheAppConfig()));
    // Read once, before any worker runs: the built-ins, the cached feed copy, the
    // user's file, then [站点地址]. Problems go to stderr, and the first of the
    // user's file opens the tooltips of the sites it keeps built in.
    static sirelo::DefinitionLayers layers = sirelo::LoadDefinitionLayers(sirelo::TheAppConfig());
    sirelo::ReportLayerProblems(layers, stderr, "sirelo");
    const std::vector<sirelo::RefusedAddress> refusedAddresses =
        sirelo::ApplySiteAddresses(sirelo::TheAppConfig(), layers.definitions);
    auto* window =
        new sirelo::MainWindow(clock, layers.definitions, sirelo::MakeSiteWorkerLauncher);
    window->showRefusedAddresses(refusedAddresses);
    window->showDefinitionProblems(layers.userProblems);
    // Closing ends the process at once: no prompt, no wait for running threads.
    QObject::connect(window, &sirelo::MainWindow::closed, [] { sirelo::EndProgram(); });
    window->show();
    sirelo::StartFeedCheck(layers, *window, std::time(nullptr), sirelo::StartDetached);
    app.exec();
    sirelo::EndProgram();
}
