// Scans of a real pack folder with each comparison option: the rows, the
// closing message, and the controls around it.

#include <algorithm>

#include "tool_test.h"
#include "win32/control_ids.h"

namespace {

using ScanTest = ToolTest;

std::vector<SeenRow> Sorted(std::vector<SeenRow> rows) {
  std::sort(rows.begin(), rows.end());
  return rows;
}

TEST_F(ScanTest, ReportsFilesByOptionAndHonoursTheSkipList) {
  const std::string same = ContentOf("same", 4096);
  std::string sameChanged = same;
  sameChanged[100] ^= 0x5A;
  const std::string other = ContentOf("other", 2048);
  GameRoot root(Folder("game"));
  root.Official("ImagePacks2", "sprite_ok.NPK", ContentOf("ok", 5000))
      .Official("ImagePacks2", "sprite_same_size.NPK", same, sameChanged)
      .Official("ImagePacks2", "sprite_other_size.NPK", other, other + "tail")
      .Official("ImagePacks2", "sprite_case.NPK", "listed with an upper-case extension")
      .Unofficial("ImagePacks2", "patch_hd.NPK", ContentOf("hd", 700))
      .Unofficial("ImagePacks2", "patch_caf\xe9.NPK", "a name outside ASCII")
      .Unofficial("ImagePacks2", "readme.txt", "any extension")
      .Unofficial("ImagePacks2", "hidden_patch.NPK", "hidden")
      .Unofficial("ImagePacks2", "keep_me.NPK", "named in the skip list")
      .Official("SoundPacks", "sounds_ok.NPK", ContentOf("sound", 3000))
      .Unofficial("SoundPacks", "patch_hd.NPK", "skipped only in its own section");
  ASSERT_TRUE(root.Write());
  // The case-changed file lies on disk with a lower-case extension.
  ASSERT_TRUE(MoveFileA(root.PathOf("ImagePacks2", "sprite_case.NPK").c_str(),
                        root.PathOf("ImagePacks2", "tmp").c_str()));
  ASSERT_TRUE(MoveFileA(root.PathOf("ImagePacks2", "tmp").c_str(),
                        root.PathOf("ImagePacks2", "sprite_case.npk").c_str()));
  ASSERT_TRUE(SetFileAttributesA(root.PathOf("ImagePacks2", "hidden_patch.NPK").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(MakeFolders(root.PathOf("ImagePacks2", "subfolder.NPK")));
  ASSERT_TRUE(WriteBytes(root.PathOf("ImagePacks2", "subfolder.NPK\\inner.NPK"), "not listed, not scanned"));
  WriteSkipList("[ImagePacks2]\r\nkeep_me.NPK=1\r\n[SoundPacks]\r\npatch_hd.NPK=1\r\n");

  auto app = Launch();
  ASSERT_TRUE(app->Started());
  ChooseGameRoot(*app, root.Path());

  const std::vector<SeenRow> unlisted = {
      {L"hidden_patch.NPK", L"ImagePacks2", expected::kUnlisted},
      {L"patch_caf\u00e9.NPK", L"ImagePacks2", expected::kUnlisted},
      {L"patch_hd.NPK", L"ImagePacks2", expected::kUnlisted},
      {L"readme.txt", L"ImagePacks2", expected::kUnlisted},
      {L"sprite_case.npk", L"ImagePacks2", expected::kUnlisted},
  };
  auto with = [&](std::vector<SeenRow> more) {
    more.insert(more.end(), unlisted.begin(), unlisted.end());
    return Sorted(more);
  };
  const struct {
    const char* name;
    bool size, digest;
    std::vector<SeenRow> rows;
  } scans[] = {
      {"no option", false, false, unlisted},
      {"size", true, false, with({{L"sprite_other_size.NPK", L"ImagePacks2", expected::kSizeMismatch}})},
      {"digest", false, true,
       with({{L"sprite_other_size.NPK", L"ImagePacks2", expected::kDigestMismatch},
             {L"sprite_same_size.NPK", L"ImagePacks2", expected::kDigestMismatch}})},
  };
  for (const auto& scan : scans) {
    SCOPED_TRACE(scan.name);
    SetOption(*app, kIdSizeOption, scan.size);
    SetOption(*app, kIdDigestOption, scan.digest);
    Press(app->Control(kIdStartScan));
    ASSERT_TRUE(WaitUntil([&] { return app->FindMessageBox() != nullptr; }, 60s));
    // The closing message comes while the controls are still held, with
    // the bar full.
    EXPECT_EQ(TextOf(app->Control(kIdStartScan)), expected::kStartBusy);
    for (int held : {kIdStartScan, kIdClean, kIdChooseGameDir, kIdOptionsGroup, kIdSizeOption, kIdSoundPacks,
                     kIdChooseBackupDir}) {
      EXPECT_FALSE(IsEnabled(app->Control(held))) << held;
    }
    EXPECT_TRUE(IsEnabled(app->Control(kIdSelectAll)));
    EXPECT_EQ(app->ProgressPosition(), app->ProgressMaximum());
    EXPECT_EQ(app->CloseMessageBox(),
              (SeenMessage{expected::Found(static_cast<int>(scan.rows.size())), expected::kNotice,
                           expected::kExclamation}));
    EXPECT_EQ(Sorted(app->Rows()), scan.rows);
    for (int row = 0; row < app->RowCount(); ++row) EXPECT_EQ(app->RowTick(row), 0) << row;
    ASSERT_TRUE(WaitUntil([&] { return TextOf(app->Control(kIdStartScan)) == expected::kStartIdle; }));
    for (int freed : {kIdStartScan, kIdClean, kIdChooseGameDir, kIdOptionsGroup, kIdSizeOption, kIdSoundPacks}) {
      EXPECT_TRUE(IsEnabled(app->Control(freed))) << freed;
    }
  }
  if (!Settings().output.empty()) {
    EXPECT_TRUE(SaveScreenshot(app->Window(), Settings().output + L"\\e2e-after-scan.png"));
  }

  // SoundPacks: its official file passes and its skip section keeps the
  // other file; the rows of the earlier scan go.
  PressAndWait(app->Control(kIdSoundPacks));
  EXPECT_EQ(Scan(*app), (SeenMessage{expected::kNothingFound, expected::kNotice, expected::kInformation}));
  EXPECT_EQ(app->RowCount(), 0);
  EXPECT_EQ(app->ProgressPosition(), app->ProgressMaximum());
}

}  // namespace
