// Conversions and the description of clips.
#include <charconv>
#include <climits>
#include <cmath>

#include "builtins/Builtins.h"
#include "language/Interpreter.h"

namespace fsrv::script {
namespace {

// A float to an integer; one outside the integer range (or not a number) is an error, never an
// undefined conversion.
int ToInt(const char* name, double v) {
    if (!(v >= double(INT_MIN) && v <= double(INT_MAX)))
        throw Error(std::string(name) + ": " + std::to_string(v) + " is out of the integer range");
    return int(v);
}

// Floats are written with six decimals and "." whatever the locale, so logs read the same on
// every machine.
std::string FloatText(double v) {
    if (!std::isfinite(v)) return std::isnan(v) ? "nan" : v > 0 ? "inf" : "-inf";
    char buffer[400];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, 6);
    return ec == std::errc() ? std::string(buffer, end) : std::to_string(v);
}

std::string ToText(const Value& v) {
    switch (v.GetType()) {
        case Value::Type::Int:
            return std::to_string(v.AsInt());
        case Value::Type::Float:
            return FloatText(v.AsFloat());
        case Value::Type::Bool:
            return v.AsBool() ? "true" : "false";
        case Value::Type::String:
            return v.AsString();
        default:
            throw Error("string: a clip or nothing has no text");
    }
}

void Numeric(Interpreter& in, const char* name, double (*round)(double)) {
    in.AddFunction(name, "f", [name, round](const Args& a, Host&) {
        return Value(ToInt(name, round(a[0].AsFloat())));
    });
}

}  // namespace

void RegisterValueFunctions(Interpreter& in) {
    // Halves go to the even neighbour, as everywhere in this system.
    Numeric(in, "round", [](double v) { return std::nearbyint(v); });
    Numeric(in, "floor", [](double v) { return std::floor(v); });
    Numeric(in, "ceil", [](double v) { return std::ceil(v); });
    Numeric(in, "int", [](double v) { return std::trunc(v); });
    in.AddFunction("float", "f", [](const Args& a, Host&) { return Value(a[0].AsFloat()); });
    in.AddFunction("string", ".", [](const Args& a, Host&) { return Value(ToText(a[0])); });
    in.AddFunction("Defined", ".", [](const Args& a, Host&) { return Value(a[0].Defined()); });
    in.AddFunction("Default", "..",
                   [](const Args& a, Host&) { return a[0].Defined() ? a[0] : a[1]; });
    in.AddFunction("width", "c",
                   [](const Args& a, Host&) { return Value(a[0].AsClip()->Info().width); });
    in.AddFunction("height", "c",
                   [](const Args& a, Host&) { return Value(a[0].AsClip()->Info().height); });
    in.AddFunction("framecount", "c",
                   [](const Args& a, Host&) { return Value(a[0].AsClip()->Info().frameCount); });
    in.AddFunction("framerate", "c", [](const Args& a, Host&) {
        const VideoInfo& vi = a[0].AsClip()->Info();
        return Value(double(vi.fpsNumerator) / double(vi.fpsDenominator));
    });
    // Frame n, or inside FrameEvaluate the frame being served, or else frame 0.
    in.AddFunction("GetParity", "c[n]i", [](const Args& a, Host& host) {
        const int n = a[1].AsInt(std::max(host.CurrentFrame(), 0));
        return Value(a[0].AsClip()->GetParity(n));
    });
    in.AddFunction("SetMemoryMax", "i", [&in](const Args& a, Host&) {
        if (a[0].AsInt() < 1) throw Error("SetMemoryMax: give the cache size in MB, at least 1");
        in.Cache().SetBudget(size_t(a[0].AsInt()) << 20);
        return Value(a[0].AsInt());
    });
}

}  // namespace fsrv::script
