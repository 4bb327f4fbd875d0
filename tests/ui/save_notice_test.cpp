// The window's notice after a save names the cause in the interface language: each cause its own
// text, a write failure the write's own reason, the clip when the cause is one clip.
#include "ui/save_notice.h"

#include <gtest/gtest.h>

#include "settings/localization.h"
#include "support/file_text.h"
#include "support/temp_dir.h"

namespace korvane {
namespace {

struct NoticeCase {
  SaveFailure failure;
  WriteFailure writeFailure;
  const char* clip;
  const char* notice;  // with a language file whose every text is its key
};

TEST(SaveNotice, EachCauseShowsItsOwnTextAfterTheFailedPrefix) {
  test::TempDir folder;
  ApplicationContext context;
  context.programFolder = folder.str();
  context.settings.languageFile = "english.ini";
  RebuildLanguagePath(context);
  std::string file = "[Main_Interface]\n";
  for (const char* key :
       {"IDS_SAVEFAILED", "IDS_SAVED", "IDS_SAVECANCELLED", "IDS_SAVENOLENGTH", "IDS_SAVEREVERSED",
        "IDS_SAVEBEYONDCLIPS", "IDS_SAVETWOTRIPS", "IDS_SAVENOVIDEO", "IDS_SAVEUNREADABLE",
        "IDS_SAVEVANISHED", "IDS_SAVEJOINFAILED", "IDS_DISKFULL", "IDS_WRITENOTALLOWED",
        "IDS_WRITEFAILED", "IDS_STAMPEDFAILED"}) {
    file += std::string(key) + "=" + key + "\n";
  }
  test::WriteFileText(context.languagePath, file);

  const NoticeCase cases[] = {
      {SaveFailure::NoLength, WriteFailure::Other, "", "IDS_SAVEFAILED IDS_SAVENOLENGTH"},
      {SaveFailure::Reversed, WriteFailure::Other, "", "IDS_SAVEFAILED IDS_SAVEREVERSED"},
      {SaveFailure::BeyondClips, WriteFailure::Other, "", "IDS_SAVEFAILED IDS_SAVEBEYONDCLIPS"},
      {SaveFailure::AcrossTrips, WriteFailure::Other, "", "IDS_SAVEFAILED IDS_SAVETWOTRIPS"},
      {SaveFailure::NoVideo, WriteFailure::Other, "a.mp4", "IDS_SAVEFAILED IDS_SAVENOVIDEO: a.mp4"},
      {SaveFailure::Unreadable, WriteFailure::Other, "b.mp4",
       "IDS_SAVEFAILED IDS_SAVEUNREADABLE: b.mp4"},
      {SaveFailure::ClipVanished, WriteFailure::Other, "c.mp4",
       "IDS_SAVEFAILED IDS_SAVEVANISHED: c.mp4"},
      {SaveFailure::Other, WriteFailure::Other, "", "IDS_SAVEFAILED IDS_SAVEJOINFAILED"},
      {SaveFailure::NotWritten, WriteFailure::DiskFull, "", "IDS_SAVEFAILED IDS_DISKFULL"},
      {SaveFailure::NotWritten, WriteFailure::NotAllowed, "", "IDS_SAVEFAILED IDS_WRITENOTALLOWED"},
      {SaveFailure::NotWritten, WriteFailure::Other, "", "IDS_SAVEFAILED IDS_WRITEFAILED"},
  };
  for (const NoticeCase& c : cases) {
    SaveResult result;
    result.error = "the English line for the log";
    result.failure = c.failure;
    result.writeFailure = c.writeFailure;
    result.clip = c.clip;
    EXPECT_EQ(SaveOutcomeText(context, result), c.notice);
  }
  SaveResult saved;
  saved.mp4Path = "/home/d/Saved/x.mp4";
  EXPECT_EQ(SaveOutcomeText(context, saved), "IDS_SAVED /home/d/Saved/x.mp4");
  // Kept without the stamped copy: the saved path stands, then the copy's failure, with a
  // write's own cause where it is one.
  saved.stampedFailure = SaveFailure::Other;
  EXPECT_EQ(SaveOutcomeText(context, saved), "IDS_SAVED /home/d/Saved/x.mp4; IDS_STAMPEDFAILED");
  saved.stampedFailure = SaveFailure::NotWritten;
  saved.writeFailure = WriteFailure::DiskFull;
  EXPECT_EQ(SaveOutcomeText(context, saved),
            "IDS_SAVED /home/d/Saved/x.mp4; IDS_STAMPEDFAILED: IDS_DISKFULL");
  SaveResult cancelled;
  cancelled.cancelled = true;
  cancelled.error = "cancelled";
  EXPECT_EQ(SaveOutcomeText(context, cancelled), "IDS_SAVECANCELLED");
}

}  // namespace
}  // namespace korvane
