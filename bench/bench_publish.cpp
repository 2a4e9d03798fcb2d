// Publishing to a CalDAV calendar. `merkwald_bench_publish` plans 10,000
// occurrences against a state of 10,000 (a quarter changed, a quarter gone) with
// Google Benchmark, then publishes N occurrences (1,000 unless given; 10,000
// takes minutes, the server's storage being the slow part) for real to a
// Radicale server it starts on 127.0.0.1, and times that publish and a second,
// unchanged one.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <cstdio>
#include <cstdlib>

#include "editing/publish/caldav_client.h"
#include "editing/publish/publish_job.h"
#include "tests/support/radicale_server.h"
#include "tests/support/temp_folder.h"

namespace merkwald {
namespace {

constexpr DaySerial kToday{46362};  // 6 December 2026

std::vector<Occurrence> occurrences(int count) {
    std::vector<Occurrence> events;
    events.reserve(count);
    for (int i = 0; i < count; ++i) {
        Occurrence o;
        o.day = kToday + i % 365;
        o.text = "Ereignis Nummer " + std::to_string(i) + " mit etwas Text, wie ihn Termine haben";
        o.group = i % 3 == 0 ? "geburtstage" : "termine";
        o.identity = 0x9e3779b97f4a7c15ULL * std::uint64_t(i + 1);
        events.push_back(std::move(o));
    }
    return events;
}

void BM_PublishPlan10k(benchmark::State& bench_state) {
    std::vector<Occurrence> events = occurrences(10000);
    PublishState state;
    for (const WantedResource& r : wanted_resources(events, {kToday, 0}))
        state.by_uid[r.uid] = {r.href, "\"etag\"", r.hash, false, false};
    for (std::size_t i = 0; i < events.size(); i += 4) events[i].group = "anders";
    events.resize(events.size() * 3 / 4 + 1);
    std::size_t steps = 0;
    for (auto _ : bench_state) {
        const std::vector<WantedResource> wanted = wanted_resources(events, {kToday, 0});
        const PublishPlan plan = plan_publish(wanted, state);
        steps = plan.steps.size();
        benchmark::DoNotOptimize(publish_state_text(state));
    }
    bench_state.counters["steps"] = double(steps);
}
BENCHMARK(BM_PublishPlan10k)->Unit(benchmark::kMillisecond);

int status_of(QNetworkReply* reply) {
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished()) loop.exec();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    delete reply;
    return status;
}

PublishReport publish_once(const CalDavTarget& target, const std::vector<Occurrence>& events,
                           const std::filesystem::path& folder, qint64& ms) {
    auto prepared =
        prepare_publish(target, test::RadicaleServer::kPassword, events, {kToday, 0}, folder);
    PublishReport report;
    if (!std::holds_alternative<PublishJob>(prepared)) return std::get<PublishReport>(prepared);
    CalDavClient client;
    QEventLoop loop;
    QElapsedTimer timer;
    timer.start();
    client.start(std::move(std::get<PublishJob>(prepared)), [&](const PublishReport& done) {
        report = done;
        loop.quit();
    });
    loop.exec();
    ms = timer.elapsed();
    return report;
}

int real_publish(int count) {
    if (!test::radicale_installed()) {
        std::printf("radicale is not installed: no real publish\n");
        return 0;
    }
    const auto folder = test::make_unique_folder("merkwald-bench-publish");
    std::filesystem::create_directories(folder / "server");
    int result = 1;
    {
        test::RadicaleServer server(folder / "server");
        CalDavTarget target;
        target.collection = QUrl(QString::fromStdString(server.base_url()) + "anna/bench/");
        target.user = QStringLiteral("anna");
        QNetworkAccessManager network;
        QNetworkRequest request(target.collection);
        request.setRawHeader("Authorization", "Basic " + QByteArray("anna:geheim").toBase64());
        if (status_of(network.sendCustomRequest(request, "MKCALENDAR")) != 201) {
            std::printf("the calendar could not be made\n");
        } else {
            const std::vector<Occurrence> events = occurrences(count);
            qint64 first = 0, second = 0;
            const PublishReport made = publish_once(target, events, folder, first);
            const PublishReport again = publish_once(target, events, folder, second);
            std::printf(
                "%d events: first publish %lld ms (%zu created, %.1f ms each), "
                "unchanged publish %lld ms (%d unchanged)\n",
                count, static_cast<long long>(first), made.created.size(),
                double(first) / double(std::max<std::size_t>(1, made.created.size())),
                static_cast<long long>(second), again.unchanged);
            result = made.failure == PublishFailure::none && again.unchanged == count ? 0 : 1;
        }
    }
    std::filesystem::remove_all(folder);
    return result;
}

}  // namespace
}  // namespace merkwald

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int count = 1000;
    // The one argument of our own: the number of events of the real publish.
    if (argc > 1 && argv[argc - 1][0] != '-') count = std::atoi(argv[--argc]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return merkwald::real_publish(count);
}
