// Why a write failed, as the window says it: each errno a write leaves reads as one of the three
// causes, in the interface language (the shipped German file).
#include <gtest/gtest.h>

#include <cerrno>

#include "settings/localization.h"
#include "support/sample_paths.h"

namespace korvane {
namespace {

struct FailureCase {
  int error;
  const char* text;
};

class WriteFailureWords : public testing::TestWithParam<FailureCase> {};

TEST_P(WriteFailureWords, ReadInTheInterfaceLanguage) {
  ApplicationContext context;
  context.programFolder = test::ProgramDir();
  context.settings.languageFile = "german.ini";
  RebuildLanguagePath(context);
  EXPECT_EQ(WriteFailureText(context, WriteFailureOf(GetParam().error)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, WriteFailureWords,
    testing::Values(FailureCase{ENOSPC, "der Datenträger ist voll"},
                    FailureCase{EFBIG, "der Datenträger ist voll"},  // a file-size limit
                    FailureCase{EDQUOT, "der Datenträger ist voll"},
                    FailureCase{EACCES, "dort darf nicht geschrieben werden"},
                    FailureCase{EPERM, "dort darf nicht geschrieben werden"},
                    FailureCase{EROFS, "dort darf nicht geschrieben werden"},
                    FailureCase{EIO, "die Datei konnte nicht geschrieben werden"},
                    FailureCase{0, "die Datei konnte nicht geschrieben werden"}));

}  // namespace
}  // namespace korvane
