#include "dvd/IfoTables.h"

#include <array>
#include <iterator>

namespace {

// The withdrawn codes in, iw and ji stay beside id, he and yi: older discs use them.
constexpr LanguageRow kLanguages[] = {
    {"  ", "Not Specified"},
    {"aa", "Afar"},
    {"ab", "Abkhazian"},
    {"af", "Afrikaans"},
    {"am", "Amharic"},
    {"ar", "Arabic"},
    {"as", "Assamese"},
    {"ay", "Aymara"},
    {"az", "Azerbaijani"},
    {"ba", "Bashkir"},
    {"be", "Byelorussian"},
    {"bg", "Bulgarian"},
    {"bh", "Bihari"},
    {"bi", "Bislama"},
    {"bn", "Bengali; Bangla"},
    {"bo", "Tibetan"},
    {"br", "Breton"},
    {"ca", "Catalan"},
    {"co", "Corsican"},
    {"cs", "Czech(Ceske)"},
    {"cy", "Welsh"},
    {"da", "Dansk"},
    {"de", "Deutsch"},
    {"dz", "Bhutani"},
    {"el", "Greek"},
    {"en", "English"},
    {"eo", "Esperanto"},
    {"es", "Espanol"},
    {"et", "Estonian"},
    {"eu", "Basque"},
    {"fa", "Persian"},
    {"fi", "Suomi"},
    {"fj", "Fiji"},
    {"fo", "Faroese"},
    {"fr",
     "Fran\xC3\xA7"
     "ais"},
    {"fy", "Frisian"},
    {"ga", "Irish"},
    {"gd", "Scots Gaelic"},
    {"gl", "Galician"},
    {"gn", "Guarani"},
    {"gu", "Gujarati"},
    {"ha", "Hausa"},
    {"he", "Hebrew"},
    {"hi", "Hindi"},
    {"hr", "Hrvatski"},
    {"hu", "Magyar"},
    {"hy", "Armenian"},
    {"ia", "Interlingua"},
    {"id", "Indonesian"},
    {"ie", "Interlingue"},
    {"ik", "Inupiak"},
    {"in", "Indonesian"},
    {"is", "Islenska"},
    {"it", "Italiano"},
    {"iu", "Inuktitut"},
    {"iw", "Hebrew"},
    {"ja", "Japanese"},
    {"ji", "Yiddish"},
    {"jw", "Javanese"},
    {"ka", "Georgian"},
    {"kk", "Kazakh"},
    {"kl", "Greenlandic"},
    {"km", "Cambodian"},
    {"kn", "Kannada"},
    {"ko", "Korean"},
    {"ks", "Kashmiri"},
    {"ku", "Kurdish"},
    {"ky", "Kirghiz"},
    {"la", "Latin"},
    {"ln", "Lingala"},
    {"lo", "Laothian"},
    {"lt", "Lithuanian"},
    {"lv", "Latvian, Lettish"},
    {"mg", "Malagasy"},
    {"mi", "Maori"},
    {"mk", "Macedonian"},
    {"ml", "Malayalam"},
    {"mn", "Mongolian"},
    {"mo", "Moldavian"},
    {"mr", "Marathi"},
    {"ms", "Malay"},
    {"mt", "Maltese"},
    {"my", "Burmese"},
    {"na", "Nauru"},
    {"ne", "Nepali"},
    {"nl", "Nederlands"},
    {"no", "Norsk"},
    {"oc", "Occitan"},
    {"om", "(Afan) Oromo"},
    {"or", "Oriya"},
    {"pa", "Punjabi"},
    {"pl", "Polish"},
    {"ps", "Pashto, Pushto"},
    {"pt", "Portugues"},
    {"qu", "Quechua"},
    {"rm", "Rhaeto-Romance"},
    {"rn", "Kirundi"},
    {"ro", "Romanian"},
    {"ru", "Russian"},
    {"rw", "Kinyarwanda"},
    {"sa", "Sanskrit"},
    {"sd", "Sindhi"},
    {"sg", "Sangho"},
    {"sh", "Serbo-Croatian"},
    {"si", "Sinhalese"},
    {"sk", "Slovak"},
    {"sl", "Slovenian"},
    {"sm", "Samoan"},
    {"sn", "Shona"},
    {"so", "Somali"},
    {"sq", "Albanian"},
    {"sr", "Serbian"},
    {"ss", "Siswati"},
    {"st", "Sesotho"},
    {"su", "Sundanese"},
    {"sv", "Svenska"},
    {"sw", "Swahili"},
    {"ta", "Tamil"},
    {"te", "Telugu"},
    {"tg", "Tajik"},
    {"th", "Thai"},
    {"ti", "Tigrinya"},
    {"tk", "Turkmen"},
    {"tl", "Tagalog"},
    {"tn", "Setswana"},
    {"to", "Tonga"},
    {"tr", "Turkish"},
    {"ts", "Tsonga"},
    {"tt", "Tatar"},
    {"tw", "Twi"},
    {"ug", "Uighur"},
    {"uk", "Ukrainian"},
    {"ur", "Urdu"},
    {"uz", "Uzbek"},
    {"vi", "Vietnamese"},
    {"vo", "Volapuk"},
    {"wo", "Wolof"},
    {"xh", "Xhosa"},
    {"yi", "Yiddish"},
    {"yo", "Yoruba"},
    {"za", "Zhuang"},
    {"zh", "Chinese"},
    {"zu", "Zulu"},
    {"", kUnknownText},
};
static_assert(std::size(kLanguages) == 144);

template <size_t N>
std::string Lookup(const std::array<const char*, N>& table, unsigned index) {
    return index < N ? table[index] : kUnknownText;
}

constexpr std::array<const char*, 2> kVideoCoding = {"MPEG1", "MPEG2"};
constexpr std::array<const char*, 4> kStandard = {"NTSC", "PAL", kUnknownText, kUnknownText};
constexpr std::array<const char*, 4> kAspect = {"4:3", kUnknownText, kUnknownText, "16:9"};
constexpr std::array<const char*, 4> kNtscResolution = {"720x480", "704x480", "352x480", "352x240"};
constexpr std::array<const char*, 4> kPalResolution = {"720x576", "704x576", "352x576", "352x288"};
constexpr std::array<const char*, 7> kAudioCoding = {"AC3",  "???", "MPEG1", "MPEG2",
                                                     "LPCM", "???", "DTS"};
constexpr std::array<const char*, 5> kCodeExtension = {
    "unspecified", "normal", "for visually impaired", "director's comments",
    "alternate director's comments"};

}  // namespace

std::string VideoCodingText(unsigned index) {
    return Lookup(kVideoCoding, index);
}

std::string StandardText(unsigned index) {
    return Lookup(kStandard, index);
}

std::string AspectRatioText(unsigned index) {
    return Lookup(kAspect, index);
}

std::string ResolutionText(const std::string& standard, unsigned index) {
    if (standard == "PAL") return Lookup(kPalResolution, index);
    if (standard == "NTSC") return Lookup(kNtscResolution, index);
    return "";
}

std::string AudioCodingText(unsigned index) {
    return Lookup(kAudioCoding, index);
}

std::string CodeExtensionText(unsigned value) {
    return Lookup(kCodeExtension, value);
}

std::span<const LanguageRow> LanguageTable() {
    return kLanguages;
}

std::string LanguageName(const std::string& code) {
    // The last row's empty code stands for "no other row", never for an empty code.
    for (size_t row = 0; row + 1 < std::size(kLanguages); ++row) {
        if (code == kLanguages[row].Code) return kLanguages[row].Name;
    }
    return kLanguages[std::size(kLanguages) - 1].Name;
}
