#pragma once
// The headless program's command line: a table of options, one row each (name, value, default,
// limits, help and what the option sets), that parses, validates and documents it, and the jobs
// it describes. Every "--input" starts a job; the
// options after it, up to the next "--input", belong to that job, and those before the first
// "--input" apply to every job.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/AdvancedSettings.h"
#include "app/SizeOptions.h"

// A command line that cannot be used; the text says which option and why.
class TCliError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class TOptionKind {
    Flag,    // no value
    Text,    // any text
    Number,  // a whole number within Min..Max, on the Step from Min
    Track,   // a track number from 1 (Min..Max), or "none" where NoneAllowed
    Choice,  // one of Choices
};

// One job as the options give it. Track positions count from 0 as the choosers do; -1 = none.
struct TJobOptions {
    std::string Input;
    std::string Output;
    int32_t Audio = 0;
    std::optional<int32_t> Audio2;
    int32_t Subs = -1;
    std::optional<int32_t> Subs2;
    TSizeChoice Size;
    TAdvancedValues Advanced;
    bool ExternalSubsGiven = false;  // by --external-subs, not only by the stored options
    bool Overwrite = false;
};

struct TCliOptions {
    bool Help = false;
    std::string ListTracks;  // the folder to list; empty when not asked
    bool Preview = false;
    bool Shutdown = false;
    std::vector<TJobOptions> Jobs;
};

struct TOptionDef;

// An option and its value as found on the command line.
struct TGiven {
    const TOptionDef& Def;
    std::string Text;
    int32_t Number = 0;  // Number and Track (a position from 0, -1 for none), Choice (index)

    // Refuses the value: "<option> <shown>: <why>".
    [[noreturn]] void Refuse(const std::string& shown, const std::string& why) const;
};

// One row of the table is everything about one option: how it is written and checked, what the
// help says, and what it does. An option sets its value either in the job it belongs to or in
// the whole run.
struct TOptionDef {
    const char* Name;
    TOptionKind Kind = TOptionKind::Flag;
    const char* Value = nullptr;    // the value's name in the help text
    const char* Default = nullptr;  // shown in the help text
    int32_t Min = 0;
    int32_t Max = 0;
    int32_t Step = 1;
    std::vector<const char*> Choices = {};
    bool NoneAllowed = false;  // a track option that takes "none"
    bool StartsJob = false;    // every use begins a new job
    bool NeedsInput = false;   // only after the first --input
    bool ChoosesSize = false;  // one of the size options, of which a job takes one
    const char* Help = "";
    void (*ToJob)(const TGiven& given, TJobOptions& job) = nullptr;
    void (*ToRun)(const TGiven& given, TCliOptions& options) = nullptr;
};

const std::vector<TOptionDef>& CliOptionTable();
const TOptionDef* FindOption(const std::string& name);

// Throws TCliError for an unknown option, a missing or wrong value, or options that cannot go
// together. `args` excludes the program name. The advanced options start from
// `advancedDefaults` (the window's stored options in the program).
TCliOptions ParseCliOptions(const std::vector<std::string>& args,
                            const TAdvancedValues& advancedDefaults = TAdvancedValues());

// The help text, made from the table.
std::string CliHelpText();
