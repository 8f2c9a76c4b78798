#include "tools/arm/ArmDataSheet.h"

#include "base/FrenchDecimal.h"
#include "base/Log.h"
#include "config/OptionKeys.h"
#include "config/OptionsParser.h"
#include "tools/arm/ArmBounds.h"
#include "tools/arm/InputFile.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

std::string Key(const char* prefix, int joint, const char* suffix)
{
    return prefix + std::to_string(joint + 1) + suffix;
}

const double kRadiansPerDegree = M_PI / 180.0;

// A data sheet is a few kilobytes.
constexpr std::size_t kMaxSheetBytes = 1 << 20;

// The statements a text writes, as "name = value" pairs in order, the
// value's word as written: what the option reader drops without a word
// (nan., yes, .5) shows only here. Comments are passed over and quoted
// texts taken whole, as the reader takes them.
std::vector<std::pair<std::string, std::string>> WrittenStatements(const std::string& text)
{
    std::vector<std::string> words;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t end;
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n') {
            ++i;
            continue;
        }
        if (text.compare(i, 2, "//") == 0) {
            i = text.find('\n', i);
            continue;
        }
        if (text.compare(i, 2, "/*") == 0) {
            i = text.find("*/", i + 2);
            i = i == std::string::npos ? i : i + 2;
            continue;
        }
        if (text[i] == ';' || text[i] == '=')
            end = i + 1;
        else if (text[i] == '"')
            end = std::min(text.find('"', i + 1), text.size() - 1) + 1;
        else
            end = std::min(text.find_first_of(" \t\r\n;=", i), text.size());
        words.push_back(text.substr(i, end - i));
        i = end;
    }
    std::vector<std::pair<std::string, std::string>> statements;
    for (std::size_t k = 0; k + 2 < words.size(); ++k)
        if (words[k + 1] == "=" && words[k] != ";" && words[k] != "=")
            statements.push_back({words[k], words[k + 2]});
    return statements;
}

// Every key of the sheet written with a value its lookup reads: one the
// reader drops, or of another kind, would otherwise give the default
// without a word.
bool ValuesRead(const std::string& file, const COptions& options, const std::vector<OptionKey>& keys)
{
    std::string text;
    if (!ReadInputFile(file, kMaxSheetBytes, "ReadArmDataSheet", &text))
        return false;
    const std::vector<std::pair<std::string, std::string>> written = WrittenStatements(text);
    for (const OptionKey& key : keys) {
        const auto statement =
            std::find_if(written.begin(), written.end(), [&](const auto& w) { return w.first == key.name; });
        if (statement == written.end())
            continue;
        const COptionEntry* entry = options.Find(key.name.c_str());
        const bool text = key.lookup == OptionLookup::Text;
        const char* why = !entry                                  ? "valeur illisible"
                          : text && entry->kind != OPTION_TEXT    ? "un texte entre guillemets est attendu"
                          : !text && entry->kind != OPTION_NUMBER ? "un nombre est attendu"
                                                                  : nullptr;
        if (why) {
            LogError("ReadArmDataSheet -- %s = %s : %s", key.name.c_str(), statement->second.c_str(), why);
            return false;
        }
    }
    return true;
}

// The sheet's numbers within ArmBounds.h, not a number or an infinity
// refused first.
}  // namespace

void DeclareDataSheetKeys(COptionDeclarations& keys, ArmDataSheet& s)
{
    const OptionRange length = OptionRange::Between(-kMaxArmMillimetres, kMaxArmMillimetres);
    const OptionRange angle = OptionRange::Between(-kMaxJointDegrees, kMaxJointDegrees);
    keys.Text("strName", "bras d'exemple", &s.name);
    // A mid-size arm: 1.4 m reach, forearm 110 mm above the elbow.
    keys.Float("fA1", 150.0f, &s.a1, length);
    keys.Float("fA2", -110.0f, &s.a2, length);
    keys.Float("fB", 0.0f, &s.b, length);
    keys.Float("fC1", 500.0f, &s.c1, length);
    keys.Float("fC2", 600.0f, &s.c2, length);
    keys.Float("fC3", 650.0f, &s.c3, length);
    keys.Float("fC4", 100.0f, &s.c4, length);
    static const float speeds[kArmJoints] = {150.0f, 150.0f, 150.0f, 300.0f, 300.0f, 400.0f};
    for (int j = 0; j < kArmJoints; ++j) {
        keys.Text(Key("strJoint", j, "Name"), ("A" + std::to_string(j + 1)).c_str(), &s.jointName[j]);
        keys.Float(Key("fJoint", j, "Zero"), 0.0f, &s.zero[j], angle);
        keys.Int(Key("iJoint", j, "Sense"), 1, &s.sense[j]);
        keys.Float(Key("fJoint", j, "Min"), -180.0f, &s.lower[j], angle);
        keys.Float(Key("fJoint", j, "Max"), 180.0f, &s.upper[j], angle);
        keys.Float(Key("fJoint", j, "Speed"), speeds[j], &s.speed[j], OptionRange::NonZeroBetween(0, kMaxJointSpeed));
    }
}

bool ReadArmDataSheet(const std::string& file, ArmDataSheet* sheet)
{
    std::optional<COptions> options;
    if (!file.empty()) {
        if (!CheckInputFile(file, kMaxSheetBytes, "ReadArmDataSheet"))
            return false;
        options = COptionsParser::ReadFile(file.c_str());
        if (!options) {
            LogError(
                "ReadArmDataSheet -- %s : fichier absent ou invalide (chaque instruction s'écrit « nom = valeur ; »)",
                file.c_str());
            return false;
        }
        const std::vector<OptionKey> keys = DeclaredKeys(DeclareDataSheetKeys);
        for (const COptionEntry& entry : options->m_Entries) {
            bool known = false;
            for (const OptionKey& key : keys)
                known = known || key.name == entry.name;
            if (!known) {
                LogError("ReadArmDataSheet -- %s : clé inconnue %s", file.c_str(), entry.name.c_str());
                return false;
            }
        }
        if (!ValuesRead(file, *options, keys))
            return false;
    }
    // A sheet is refused whole where a data set would take the default.
    COptionDeclarations declarations;
    DeclareDataSheetKeys(declarations, *sheet);
    if (options)
        for (const OptionKey& key : declarations.Keys())
            if (const std::string refusal = JudgeOptionValue(key, *options).refusal; !refusal.empty()) {
                LogError("ReadArmDataSheet -- %s", refusal.c_str());
                return false;
            }
    declarations.Read(options ? &*options : nullptr);
    for (int j = 0; j < kArmJoints; ++j) {
        if (sheet->sense[j] != 1 && sheet->sense[j] != -1) {
            LogError("ReadArmDataSheet -- %s = %d : le sens d'une articulation vaut 1 ou -1",
                     Key("iJoint", j, "Sense").c_str(), sheet->sense[j]);
            return false;
        }
        if (!(sheet->lower[j] <= sheet->upper[j])) {
            LogError("ReadArmDataSheet -- %s = %s est au-dessus de %s = %s", Key("fJoint", j, "Min").c_str(),
                     FormatShortDecimal(sheet->lower[j]).c_str(), Key("fJoint", j, "Max").c_str(),
                     FormatShortDecimal(sheet->upper[j]).c_str());
            return false;
        }
    }
    return true;
}

bool DataSheetChain(const ArmDataSheet& s, SerialArm* chain)
{
    if (s.b != 0.0f) {
        LogError(
            "DataSheetChain -- b = %s mm : c'est un décalage latéral, que les modèles de Kalimbrax n'ont pas (b doit "
            "valoir 0)",
            FormatShortDecimal(s.b).c_str());
        return false;
    }
    const double mm = 0.001;
    const KDL::Vector y(0, 1, 0), z(0, 0, 1);
    // The arm straight up, joint by joint: where each axis is in the link
    // before it, and which way it points.
    const KDL::Vector origins[kArmJoints] = {
        {0, 0, 0}, {s.a1 * mm, 0, s.c1 * mm}, {0, 0, s.c2 * mm}, {s.a2 * mm, 0, s.c3 * mm}, {0, 0, 0}, {0, 0, 0}};
    const KDL::Vector axes[kArmJoints] = {z, y, y, z, y, z};
    for (int j = 0; j < kArmJoints; ++j) {
        SerialJoint& joint = chain->joints[j];
        joint.name = s.jointName[j];
        // The maker's zero turns the joint's frame; the maker's sense its
        // axis.
        joint.origin = KDL::Frame(KDL::Rotation::Rot2(axes[j], s.zero[j] * kRadiansPerDegree), origins[j]);
        joint.axis = axes[j] * static_cast<double>(s.sense[j]);
        joint.lower = s.lower[j] * kRadiansPerDegree;
        joint.upper = s.upper[j] * kRadiansPerDegree;
        joint.velocity = s.speed[j] * kRadiansPerDegree;
    }
    chain->flange = KDL::Frame(KDL::Vector(0, 0, s.c4 * mm));
    return true;
}
