#include <string>

#include "cli/CliOptions.h"
#include "platform/locale.h"

namespace {

[[noreturn]] void Refuse(const std::string& option, const std::string& text,
                         const std::string& why) {
    throw TCliError(option + (text.empty() ? "" : " " + text) + ": " + why);
}

int32_t NumberValue(const TOptionDef& def, const std::string& text) {
    const auto value = platform::ParseInteger(text);
    if (!value) Refuse(def.Name, text, "not a whole number");
    if (*value < def.Min || *value > def.Max)
        Refuse(def.Name, text,
               "must be from " + std::to_string(def.Min) + " to " + std::to_string(def.Max));
    const int32_t number = static_cast<int32_t>(*value);
    if ((number - def.Min) % def.Step != 0)
        Refuse(def.Name, text, "must be a multiple of " + std::to_string(def.Step));
    return number;
}

int32_t TrackValue(const TOptionDef& def, const std::string& text) {
    if (def.NoneAllowed && text == "none") return -1;
    const auto value = platform::ParseInteger(text);
    if (!value || *value < def.Min || *value > def.Max)
        Refuse(def.Name, text,
               std::string("must be a track number from 1") + (def.NoneAllowed ? " or none" : ""));
    return static_cast<int32_t>(*value) - 1;
}

int32_t ChoiceValue(const TOptionDef& def, const std::string& text) {
    for (size_t i = 0; i < def.Choices.size(); ++i)
        if (text == def.Choices[i]) return static_cast<int32_t>(i);
    Refuse(def.Name, text, std::string("must be one of ") + def.Value);
}

TGiven Interpret(const TOptionDef& def, const std::string& text) {
    TGiven given{def, text};
    switch (def.Kind) {
        case TOptionKind::Number:
            given.Number = NumberValue(def, text);
            break;
        case TOptionKind::Track:
            given.Number = TrackValue(def, text);
            break;
        case TOptionKind::Choice:
            given.Number = ChoiceValue(def, text);
            break;
        case TOptionKind::Text:
            if (text.empty()) Refuse(def.Name, "", "the value is empty");
            break;
        case TOptionKind::Flag:
            break;
    }
    return given;
}

// "--size, --preset and --quality": the options of which a job takes one.
std::string SizeOptionNames() {
    std::vector<std::string> names;
    for (const TOptionDef& def : CliOptionTable())
        if (def.ChoosesSize) names.push_back(def.Name);
    std::string text;
    for (size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

// Splits "--name=value"; a bare "--name" takes the next argument as its value when it needs one.
class TArgReader {
  public:
    explicit TArgReader(const std::vector<std::string>& args) : args_(args) {}
    bool Done() const { return next_ >= args_.size(); }
    TGiven Next() {
        std::string arg = args_[next_++];
        std::optional<std::string> inlineValue;
        const size_t eq = arg.find('=');
        if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        const TOptionDef* def = FindOption(arg);
        if (!def) throw TCliError(arg + ": unknown option");
        if (def->Kind == TOptionKind::Flag) {
            if (inlineValue) Refuse(arg, *inlineValue, "takes no value");
            return TGiven{*def, ""};
        }
        if (inlineValue) return Interpret(*def, *inlineValue);
        if (Done()) Refuse(arg, "", std::string("needs a value (") + def->Value + ")");
        return Interpret(*def, args_[next_++]);
    }

  private:
    const std::vector<std::string>& args_;
    size_t next_ = 0;
};

std::string JobName(const TJobOptions& job) {
    return "the job of --input " + job.Input;
}

void CheckJob(const TJobOptions& job) {
    if (job.Output.empty()) throw TCliError(JobName(job) + ": --output is missing");
    const TAdvancedValues& a = job.Advanced;
    if (a.ResolutionIndex == kResizeMinimum && a.Width > kMinimumWidthMax)
        throw TCliError(JobName(job) + ": --width " + std::to_string(a.Width) +
                        ": at most 640 with --width-mode min");
    if (a.AudioIndex == kAudioVbrMp3 && a.Bitrate < kVbrBitrateMin)
        throw TCliError(JobName(job) + ": --audio-bitrate " + std::to_string(a.Bitrate) +
                        ": at least 80 with --audio-mode vbr");
    if (job.Subs2 && !a.ExternalSubs)
        throw TCliError(JobName(job) + ": --subs2 needs --external-subs");
}

void CheckWhole(const TCliOptions& options) {
    if (options.Help) return;
    if (!options.ListTracks.empty()) {
        if (!options.Jobs.empty()) throw TCliError("--list-tracks cannot be combined with --input");
        return;
    }
    if (options.Jobs.empty()) throw TCliError("nothing to do: give --input DIR --output FILE");
    for (const TJobOptions& job : options.Jobs) CheckJob(job);
}

}  // namespace

void TGiven::Refuse(const std::string& shown, const std::string& why) const {
    ::Refuse(Def.Name, shown, why);
}

TCliOptions ParseCliOptions(const std::vector<std::string>& args,
                            const TAdvancedValues& advancedDefaults) {
    TCliOptions options;
    TJobOptions defaults;
    defaults.Advanced = advancedDefaults;
    TJobOptions* scope = &defaults;
    std::string sizeGiven;  // the size option of the current scope
    TArgReader reader(args);
    while (!reader.Done()) {
        const TGiven given = reader.Next();
        const TOptionDef& def = given.Def;
        if (def.ToRun) {
            def.ToRun(given, options);
            continue;
        }
        if (def.StartsJob) {
            options.Jobs.push_back(defaults);
            scope = &options.Jobs.back();
            sizeGiven.clear();
        } else if (def.NeedsInput && scope == &defaults) {
            throw TCliError(std::string(def.Name) + ": give --input first");
        }
        if (def.ChoosesSize) {
            if (!sizeGiven.empty())
                throw TCliError(std::string(def.Name) + ": only one of " + SizeOptionNames() +
                                " per job (" + sizeGiven + " was given)");
            sizeGiven = def.Name;
        }
        def.ToJob(given, *scope);
    }
    CheckWhole(options);
    return options;
}
