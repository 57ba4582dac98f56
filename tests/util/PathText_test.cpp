#include "util/PathText.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

namespace {

TEST(PathText, FoldersNamesAndExtensions) {
    EXPECT_EQ(OutputFolderOf("/film.avi"), "/");
    EXPECT_EQ(OutputFolderOf("/movies/film.avi"), "/movies/");
    EXPECT_EQ(OutputFolderOf("film.avi"), platform::CurrentDir() + "/");
    EXPECT_EQ(ExtractFileName("/movies/film.avi"), "film.avi");
    EXPECT_EQ(ChangeFileExt("/a.b/film.avi", "_mx.log"), "/a.b/film_mx.log");
    EXPECT_EQ(ChangeFileExt("/a.b/film", "_mx.log"), "/a.b/film_mx.log");
    EXPECT_EQ(ChangeFileExt("/m/film.x.avi", ".d2v"), "/m/film.x.d2v");
}

}  // namespace
