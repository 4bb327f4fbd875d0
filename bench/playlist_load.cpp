// Loading a dash-cam card's folder into the playlist: listing, filtering, sorting, building the
// tree's nodes and painting the tree for 5 000 clips (empty files named as a camera names them, in
// a temporary folder). The target is 300 ms for the whole load.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "framework/playlist_tree_view.h"
#include "settings/application_context.h"
#include "ui/playlist_host.h"
#include "ui/playlist_manager.h"
#include "ui/playlist_tree_binding.h"

namespace {

using korvane::CPlaylistManager;

// A card as a camera leaves it: front and rear clips every minute, plus the odd thumbnail, created
// in shuffled order so the listing is not already sorted.
class CardFolder {
 public:
  explicit CardFolder(int clips) {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvane-card-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern + "/";
    std::vector<std::string> names;
    for (int i = 0; i < clips; ++i) {
      int minute = i / 2;
      char name[64];
      std::snprintf(name, sizeof name, "2026_%02d%02d_%02d%02d00_%04d%c.MP4",
                    1 + minute / 1440 % 12, 1 + minute / 60 / 24 % 28, minute / 60 % 24,
                    minute % 60, i / 2, i % 2 == 0 ? 'F' : 'R');
      names.emplace_back(name);
      if (i % 100 == 0) names.emplace_back(std::string(name, std::strlen(name) - 4) + ".THM");
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(7));
    for (const auto& name : names) std::ofstream(path_ + name);
    first_ = *std::min_element(names.begin(), names.end());
  }
  ~CardFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& path() const { return path_; }
  const std::string& firstClip() const { return first_; }

 private:
  std::string path_;
  std::string first_;
};

void BM_LoadCardFolder(benchmark::State& state) {
  CardFolder card(static_cast<int>(state.range(0)));
  // A settings file as after the first start, so loading the options writes nothing.
  korvane::ApplicationContext context;
  context.settingsPath = card.path() + "Velmora.ini";
  std::ofstream(context.settingsPath) << "[MPlayer]\nAssociate=MP4\nFilter=*.mp4\n";
  korvane::AppPlaylistHost host(context);
  QImage canvas(320, 600, QImage::Format_RGB32);
  for (auto _ : state) {
    DuiLib::CPlayListTreeViewUI tree;
    korvane::PlaylistTreeBinding view(&tree);
    CPlaylistManager manager(host, &view);
    manager.LoadPlaylistOptions();
    manager.LoadFolderOf(card.firstClip(), card.path());
    tree.SetPos({0, 0, 320, 600});  // placed and painted as the window would show them
    {
      QPainter painter(&canvas);
      DuiLib::CDrawContext dc(painter, nullptr);
      tree.DoPaint(&dc, tree.GetPos());
    }
    if (tree.GetCount() != state.range(0) || manager.playlist().current() != 0) {
      state.SkipWithError("the card did not load");
    }
    state.PauseTiming();
    tree.RemoveAll();  // destruction is not part of loading
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadCardFolder)->Arg(5000)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Painting text needs the application object; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
