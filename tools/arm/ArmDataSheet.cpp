#include "tools/arm/ArmDataSheet.h"

#include "base/FrenchDecimal.h"
#include "base/Log.h"
#include "config/OptionKeys.h"
#include "config/OptionsParser.h"

#include <cmath>

namespace {

std::string Key(const char* prefix, int joint, const char* suffix)
{
    return prefix + std::to_string(joint + 1) + suffix;
}

const double kRadiansPerDegree = M_PI / 180.0;

}  // namespace

void DeclareDataSheetKeys(COptionDeclarations& keys, ArmDataSheet& s)
{
    keys.Text("strName", "bras d'exemple", &s.name);
    // A mid-size arm: 1.4 m reach, forearm 110 mm above the elbow.
    keys.Float("fA1", 150.0f, &s.a1);
    keys.Float("fA2", -110.0f, &s.a2);
    keys.Float("fB", 0.0f, &s.b);
    keys.Float("fC1", 500.0f, &s.c1);
    keys.Float("fC2", 600.0f, &s.c2);
    keys.Float("fC3", 650.0f, &s.c3);
    keys.Float("fC4", 100.0f, &s.c4);
    static const float speeds[kArmJoints] = {150.0f, 150.0f, 150.0f, 300.0f, 300.0f, 400.0f};
    for (int j = 0; j < kArmJoints; ++j) {
        keys.Text(Key("strJoint", j, "Name"), ("A" + std::to_string(j + 1)).c_str(), &s.jointName[j]);
        keys.Float(Key("fJoint", j, "Zero"), 0.0f, &s.zero[j]);
        keys.Int(Key("iJoint", j, "Sense"), 1, &s.sense[j]);
        keys.Float(Key("fJoint", j, "Min"), -180.0f, &s.lower[j]);
        keys.Float(Key("fJoint", j, "Max"), 180.0f, &s.upper[j]);
        keys.Float(Key("fJoint", j, "Speed"), speeds[j], &s.speed[j]);
    }
}

bool ReadArmDataSheet(const std::string& file, ArmDataSheet* sheet)
{
    std::optional<COptions> options;
    if (!file.empty()) {
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
    }
    *sheet = ReadSettings(options ? &*options : nullptr, DeclareDataSheetKeys);
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
