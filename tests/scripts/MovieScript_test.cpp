#include <gtest/gtest.h>

#include "scripts/avs.h"

namespace {

TScriptEnvironment Tools(bool sse) {
    TScriptEnvironment env;
    env.ProgramDir = "/opt/movrex";
    env.HasSSE = sse;
    return env;
}

// Lines 12 to 26: the measuring crop and the output size arithmetic.
TScriptLines SizeArithmetic(const std::string& d2v, int samples, const std::string& aspect,
                            int width) {
    const std::string n = std::to_string(samples);
    return {
        "movie = mpeg2source(\"" + d2v + "\")",
        "cropclip = autocrop(movie,mode=0,wmultof=4,hmultof=4,samples=" + n +
            ",aspect=0,threshold=35)",
        "c_width = width(cropclip)",
        "c_height = round(height(cropclip) / " + aspect + ")",
        "input_par = float(c_width)/float(c_height)",
        "fixed_aspect = " + aspect,
        "flag_halfdvd = input_par > 1.0 ? 0 : 1",
        "input_par = input_par > 1.0 ? input_par : input_par * 2",
        "input_par = input_par > 1.4 ? input_par : (4.0/3.0)",
        "out_width = " + std::to_string(width),
        "out_height = round(float(out_width) / input_par)",
        "hmod = out_height - (floor(out_height / 16 ) * 16)",
        "out_height = (hmod > 4) ? (out_height + (16 - hmod)) : (out_height - hmod)",
        "new_aspect = (float(out_width) / float(out_height)) / fixed_aspect",
        "new_aspect = flag_halfdvd > 0 ? new_aspect/2.0 : new_aspect",
    };
}

const TScriptLines kGetOrder = {"", "function getOrder(clip c) {", "order = GetParity(c) ? 1 : 0",
                                "return order }", ""};

TScriptLines Concat(std::initializer_list<TScriptLines> parts) {
    TScriptLines all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(MovieScript, PreviewOfAProgressiveSourceWithoutSseOrSubtitles) {
    TMovieScriptParams run;
    run.D2VFile = "/films/My Film/mx_tmp/film_preview.d2v";
    run.OutWidth = 640;
    run.ResizeTemplate = "LanczosResize(%s,%s)";
    run.SourceType = stProgressive;
    run.PixelAspect = 128.0 / 117.0;  // PAL 4:3
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::Preview, Tools(false));
    const TScriptLines expected = Concat({
        {R"(LoadPlugin("/opt/movrex/filters/mpeg2dec3dg.dll"))",
         R"(LoadPlugin("/opt/movrex/filters/autocrop.dll"))"},
        kGetOrder,
        SizeArithmetic(run.D2VFile, 5, "1.09401709401709", 640),
        {"autocrop(movie,mode=0,wmultof=4,hmultof=4,samples=5,aspect=new_aspect,threshold=35)",
         "LanczosResize(out_width,out_height)"},
    });
    EXPECT_EQ(lines, expected);
}

TEST(MovieScript, CompressibilityTestOfFilmWithSseAndSubtitles) {
    TMovieScriptParams run;
    run.D2VFile = "/out/mx_tmp/film.d2v";
    run.OutWidth = 512;
    run.ResizeTemplate = "BicubicResize(%s,%s,0,0.5)";
    run.VobSubFile = "/out/mx_tmp/film.idx";
    run.SourceType = stFilm;
    run.PixelAspect = 96.0 / 79.0;  // NTSC 16:9
    run.CompCycle = 14;
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::CompTest, Tools(true));
    const TScriptLines expected = Concat({
        {R"(LoadPlugin("/opt/movrex/filters/mpeg2dec3dg.dll"))",
         R"(LoadPlugin("/opt/movrex/filters/autocrop.dll"))",
         R"(LoadPlugin("/opt/movrex/filters/decomb.dll"))",
         R"(LoadPlugin("/opt/movrex/filters/vsfilter.dll"))",
         R"(LoadPlugin("/opt/movrex/filters/undot.dll"))"},
        kGetOrder,
        SizeArithmetic(run.D2VFile, 10, "1.21518987341772", 512),
        {"Telecide(movie,order=getOrder(movie),guide=1,post=2).Decimate(mode=0)",
         "autocrop(mode=0,wmultof=4,hmultof=4,samples=10,aspect=new_aspect,threshold=35)",
         "Undot()", R"(VobSub("/out/mx_tmp/film.idx"))",
         "BicubicResize(out_width,out_height,0,0.5)", "SelectRangeEvery(280,14)"},
    });
    EXPECT_EQ(lines, expected);
}

TEST(MovieScript, EncodingScriptOfAnInterlacedSourceDeinterlacesAndNeverSamples) {
    TMovieScriptParams run;
    run.D2VFile = "/out/mx_tmp/film.d2v";
    run.OutWidth = 704;
    run.ResizeTemplate = "LanczosResize(%s,%s)";
    run.SourceType = stInterlaced;
    run.PixelAspect = 512.0 / 351.0;  // PAL 16:9
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::Encoding, Tools(true));
    const TScriptLines expected = Concat({
        {R"(LoadPlugin("/opt/movrex/filters/mpeg2dec3dg.dll"))",
         R"(LoadPlugin("/opt/movrex/filters/autocrop.dll"))",
         R"(LoadPlugin("/opt/movrex/filters/undot.dll"))",
         R"(LoadPlugin("/opt/movrex/filters/kerneldeint.dll"))"},
        kGetOrder,
        SizeArithmetic(run.D2VFile, 10, "1.45868945868946", 704),
        {"KernelDeInt(movie,order=getOrder(movie),sharp=true)",
         "autocrop(mode=0,wmultof=4,hmultof=4,samples=10,aspect=new_aspect,threshold=35)",
         "Undot()", "LanczosResize(out_width,out_height)"},
    });
    EXPECT_EQ(lines, expected);
}

// What each source type changes: the decomb/kerneldeint plugins (lines 3 and 6) and the field
// filter and second crop (lines 27 and 28).
struct SourceCase {
    uint8_t type;
    bool decomb;
    bool kerneldeint;
    std::string filter;  // empty: none
    bool cropFromMovie;
};

TEST(MovieScript, EachSourceTypeGetsItsPluginsAndFieldFilter) {
    const std::string telecide = "Telecide(movie,order=getOrder(movie),guide=1,post=2)";
    const SourceCase cases[] = {
        {stForcedFilm, false, false, "", true},
        {stFilm, true, false, telecide + ".Decimate(mode=0)", false},
        {stProgressive, false, false, "", true},
        {stInterlaced, false, true, "KernelDeInt(movie,order=getOrder(movie),sharp=true)", false},
        {stHybridFilm, true, false, telecide + ".Decimate(mode=3,threshold=0.01)", false},
        {stHybridVideo, true, false, telecide + ".Decimate(mode=1,threshold=3.75)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        TScriptLines lines;
        const std::string threshold = c.type == stHybridFilm ? "0.01" : "3.75";
        MakeMovieScript(lines, "/a.d2v", 640, threshold, 10, "LanczosResize(%s,%s)", 0, "", c.type,
                        1.0, Tools(false));
        TScriptLines plugins = {R"(LoadPlugin("/opt/movrex/filters/mpeg2dec3dg.dll"))",
                                R"(LoadPlugin("/opt/movrex/filters/autocrop.dll"))"};
        if (c.decomb) plugins.push_back(R"(LoadPlugin("/opt/movrex/filters/decomb.dll"))");
        if (c.kerneldeint)
            plugins.push_back(R"(LoadPlugin("/opt/movrex/filters/kerneldeint.dll"))");
        EXPECT_EQ(TScriptLines(lines.begin(), lines.begin() + plugins.size()), plugins);
        EXPECT_EQ(lines[plugins.size()], "");

        TScriptLines tail;
        if (!c.filter.empty()) tail.push_back(c.filter);
        tail.push_back(std::string(c.cropFromMovie ? "autocrop(movie," : "autocrop(") +
                       "mode=0,wmultof=4,hmultof=4,samples=10,aspect=new_aspect,threshold=35)");
        tail.push_back("LanczosResize(out_width,out_height)");
        EXPECT_EQ(TScriptLines(lines.end() - tail.size(), lines.end()), tail);
        EXPECT_EQ(lines[lines.size() - tail.size() - 1],
                  "new_aspect = flag_halfdvd > 0 ? new_aspect/2.0 : new_aspect");
    }
}

TEST(MovieScript, TheThreeUsesDifferInCropSamplesAndSampling) {
    TMovieScriptParams run;
    run.D2VFile = "/a.d2v";
    run.ResizeTemplate = "LanczosResize(%s,%s)";
    run.CompCycle = 15;
    run.HybridThreshold = 0.01;
    run.SourceType = stHybridFilm;
    TScriptLines preview, test, movie;
    MakeMovieScript(preview, run, TMovieScriptUse::Preview, Tools(false));
    MakeMovieScript(test, run, TMovieScriptUse::CompTest, Tools(false));
    MakeMovieScript(movie, run, TMovieScriptUse::Encoding, Tools(false));
    EXPECT_NE(preview[9].find("samples=5,"), std::string::npos) << preview[9];
    EXPECT_NE(test[9].find("samples=10,"), std::string::npos) << test[9];
    EXPECT_EQ(preview.back(), "LanczosResize(out_width,out_height)");
    EXPECT_EQ(movie.back(), "LanczosResize(out_width,out_height)");
    EXPECT_EQ(test.back(), "SelectRangeEvery(300,15)");
    EXPECT_EQ(test.size(), movie.size() + 1);
    // The threshold goes in as the script's number text.
    EXPECT_EQ(movie[movie.size() - 3],
              "Telecide(movie,order=getOrder(movie),guide=1,post=2).Decimate(mode=3,"
              "threshold=0.01)");
}

TEST(MovieScript, ResizeTemplateIsFilledAsTextNotAsAFormat) {
    TScriptLines lines;
    MakeMovieScript(lines, "/a.d2v", 640, "0", 10, "Spline(%s,%s,%d%n)", 0, "", stProgressive, 1,
                    Tools(false));
    EXPECT_EQ(lines.back(), "Spline(out_width,out_height,%d%n)");
    MakeMovieScript(lines, "/a.d2v", 640, "0", 10, "PointResize", 0, "", stProgressive, 1,
                    Tools(false));
    EXPECT_EQ(lines.back(), "PointResize");
}

TEST(MovieScript, RefusesAnUnknownSourceTypeAndUnsafePaths) {
    TScriptLines lines;
    EXPECT_THROW(MakeMovieScript(lines, "/a.d2v", 640, "0", 10, "LanczosResize(%s,%s)", 0, "", 6, 1,
                                 Tools(false)),
                 std::invalid_argument);
    EXPECT_THROW(MakeMovieScript(lines, "/a.d2v", 640, "0", 10, "LanczosResize(%s,%s)", 0,
                                 "/subs \"x\".idx", stFilm, 1, Tools(false)),
                 std::invalid_argument);
}

TEST(ScriptFloat, ShortestGeneralFormWithFifteenDigits) {
    EXPECT_EQ(ScriptFloat(0), "0");
    EXPECT_EQ(ScriptFloat(0.01), "0.01");
    EXPECT_EQ(ScriptFloat(1), "1");
    EXPECT_EQ(ScriptFloat(2.5), "2.5");
    EXPECT_EQ(ScriptFloat(128.0 / 117.0), "1.09401709401709");
    EXPECT_EQ(ScriptFloat(512.0 / 351.0), "1.45868945868946");
    EXPECT_EQ(ScriptFloat(72.0 / 79.0), "0.911392405063291");
    EXPECT_EQ(ScriptFloat(96.0 / 79.0), "1.21518987341772");
    EXPECT_EQ(ScriptFloat(-12.125), "-12.125");
}

}  // namespace
