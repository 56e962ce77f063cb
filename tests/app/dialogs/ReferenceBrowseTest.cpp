#include "app/dialogs/ReferenceBrowse.h"

#include <gtest/gtest.h>

#include "AnalyzeTestSupport.h"

namespace orvale::testing {
namespace {

using ReferenceBrowseTest = AnalyzeTest;

TEST_F(ReferenceBrowseTest, AReferenceFileIsAddedAndSelected) {
  const std::string path = WriteFile("mirror.zrn", ZrnText(std::vector<double>(36, 0.5)));
  AnalyzeControls c;
  c.BrowseDir = "/start";
  dialogs_.QueueFile(path);

  EXPECT_TRUE(BrowseReferenceFile(c));

  const FileDialogRequest& request = dialogs_.Requests().at(0);
  EXPECT_EQ(request.Title, "Browse File");
  EXPECT_EQ(request.Filter, "Zernikes (*.zrn *.ovd)|*.zrn;*.ovd");
  EXPECT_EQ(request.Flags, ofn::kFileMustExist | ofn::kPathMustExist | ofn::kHideReadOnly);
  EXPECT_EQ(request.InitDir, "/start");
  EXPECT_EQ(c.BrowseDir, dir_.string());
  EXPECT_EQ(c.ReferenceItems().back(), "mirror.zrn");
  EXPECT_EQ(c.SelectedReferencePath(), path);
  EXPECT_TRUE(messages_.Messages().empty());

  // The same file may be added again.
  dialogs_.QueueFile(path);
  EXPECT_TRUE(BrowseReferenceFile(c));
  EXPECT_EQ(c.ReferenceCount(), 4);
  EXPECT_EQ(c.ReferenceIndex(), 3);
}

TEST_F(ReferenceBrowseTest, AFileWithoutAReferenceIsReportedAndNotAdded) {
  const std::string path = WriteFile("short.ovd", ZernikesLine(20) + "\r\n");
  AnalyzeControls c;
  dialogs_.QueueFile(path);

  EXPECT_FALSE(BrowseReferenceFile(c));

  ASSERT_EQ(messages_.Messages().size(), 1u);
  EXPECT_EQ(messages_.Messages()[0].text,
            "File " + path + " is invalid\r\nor does not contain 36 Zernike polynomial coefficients");
  EXPECT_EQ(messages_.Messages()[0].title, "Error");
  EXPECT_EQ(messages_.Messages()[0].flags, mb::kOk | mb::kIconExclamation);
  EXPECT_EQ(c.ReferenceCount(), 2);
  EXPECT_EQ(c.BrowseDir, dir_.string());  // the folder is remembered all the same
}

TEST_F(ReferenceBrowseTest, ACancelledDialogChangesNothing) {
  AnalyzeControls c;
  c.BrowseDir = "/start";
  dialogs_.QueueCancel();
  EXPECT_FALSE(BrowseReferenceFile(c));
  EXPECT_EQ(c.BrowseDir, "/start");
  EXPECT_EQ(c.ReferenceCount(), 2);
  EXPECT_TRUE(messages_.Messages().empty());
}

}  // namespace
}  // namespace orvale::testing
