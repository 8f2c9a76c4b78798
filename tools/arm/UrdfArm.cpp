#include "tools/arm/UrdfArm.h"

#include "base/Log.h"
#include "tools/arm/ArmBounds.h"
#include "tools/arm/InputFile.h"
#include "tools/arm/XmlDepth.h"

#include <console_bridge/console.h>
#include <urdf_parser/urdf_parser.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sys/stat.h>

namespace {

// A description is some hundred kilobytes; the parser's tree costs some ten
// times its text.
constexpr std::size_t kMaxUrdfBytes = 16 << 20;
// Far deeper than a description nests (robot, link, visual, geometry, mesh).
constexpr std::size_t kMaxXmlDepth = 100;
// Links from the root along a branch: an arm has some ten.
constexpr int kMaxChainLinks = 1000;

const double kMaxMetres = kMaxArmMillimetres / 1000.0;
const double kMaxRadians = kMaxJointDegrees * M_PI / 180.0;
const double kMaxRadiansPerSecond = kMaxJointSpeed * M_PI / 180.0;

// Every value within [low, high] (not a number is not); otherwise false
// with one record naming what holds them, the key and the values, as the
// description writes numbers.
bool Within(const std::string& file, const std::string& owner, const char* key, std::initializer_list<double> values,
            double low, double high, const char* unit)
{
    for (const double v : values)
        if (!(v >= low && v <= high)) {
            std::string shown;
            for (const double w : values)
                shown += (shown.empty() ? "" : " ") + ShownNumber(w);
            LogError("ReadUrdfArm -- %s : %s : %s = %s : hors de [%s ; %s] %s", file.c_str(), owner.c_str(), key,
                     shown.c_str(), ShownNumber(low).c_str(), ShownNumber(high).c_str(), unit);
            return false;
        }
    return true;
}

bool WithinReach(const std::string& file, const std::string& owner, const char* key, const urdf::Vector3& v)
{
    return Within(file, owner, key, {v.x, v.y, v.z}, -kMaxMetres, kMaxMetres, "m");
}

KDL::Frame FrameOf(const urdf::Pose& pose)
{
    const urdf::Rotation& r = pose.rotation;
    return KDL::Frame(KDL::Rotation::Quaternion(r.x, r.y, r.z, r.w),
                      KDL::Vector(pose.position.x, pose.position.y, pose.position.z));
}

bool IsFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::string Parent(const std::string& dir)
{
    const std::size_t slash = dir.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : dir.substr(0, slash);
}

bool Moving(const urdf::Joint& joint)
{
    return joint.type != urdf::Joint::FIXED;
}

// The parser's own messages (English, on the console) are kept to be
// quoted in ours.
class CParserMessages : public console_bridge::OutputHandler {
public:
    void log(const std::string& text, console_bridge::LogLevel level, const char*, int) override
    {
        if (level >= console_bridge::CONSOLE_BRIDGE_LOG_ERROR && m_strFirst.empty())
            m_strFirst = text;
    }
    std::string m_strFirst;
};

// Walks the tree from the root: which body each link moves with and its
// frame in that body, and the chain's six joints. A link after a moving
// joint that is not the chain's next one (a gripper's finger, a second
// branch) is left out, with the reason in *ignored.
struct ChainWalk {
    ChainWalk(const std::string& f, UrdfArm& a) : file(f), arm(a) {}
    const std::string& file;
    UrdfArm& arm;
    int revolute = 0;
    std::string sixthLink;  // the link the sixth joint turns
    std::string ignored;
    bool failed = false;
    std::map<std::string, std::pair<int, KDL::Frame>> bodyOf;

    bool Fail(const std::string& reason)
    {
        LogError("ReadUrdfArm -- %s : %s", file.c_str(), reason.c_str());
        return Fail();
    }
    // The reason already recorded.
    bool Fail()
    {
        failed = true;
        return false;
    }

    // The links below which a moving joint lies (TreeShape).
    std::set<std::string> movingBelow;

    // The joint's numbers within ArmBounds.h.
    bool CheckNumbers(const urdf::Joint& joint)
    {
        const std::string owner = "l'articulation « " + joint.name + " »";
        if (!WithinReach(file, owner, "origin", joint.parent_to_joint_origin_transform.position))
            return false;
        if (!Moving(joint) || !joint.limits)
            return true;
        const urdf::JointLimits& l = *joint.limits;
        return (joint.type == urdf::Joint::CONTINUOUS ||
                (Within(file, owner, "lower", {l.lower}, -kMaxRadians, kMaxRadians, "rad") &&
                 Within(file, owner, "upper", {l.upper}, l.lower, kMaxRadians, "rad"))) &&
               Within(file, owner, "velocity", {l.velocity}, 0, kMaxRadiansPerSecond, "rad/s");
    }

    bool Visit(const urdf::Link& link, int body, const KDL::Frame& inBody)
    {
        bodyOf[link.name] = {body, inBody};
        int chainChildren = 0;
        for (const urdf::LinkSharedPtr& child : link.child_links)
            if (Moving(*child->parent_joint) || movingBelow.count(child->name))
                ++chainChildren;
        if (chainChildren > 1 && revolute < kArmJoints)
            return Fail("le lien « " + link.name +
                        " » porte plusieurs branches mobiles ; une seule chaîne de six "
                        "articulations est attendue");
        for (const urdf::LinkSharedPtr& child : link.child_links) {
            const urdf::Joint& joint = *child->parent_joint;
            if (!CheckNumbers(joint))
                return Fail();
            const KDL::Frame origin = inBody * FrameOf(joint.parent_to_joint_origin_transform);
            if (!Moving(joint)) {
                if (!Visit(*child, body, origin))
                    return false;
                continue;
            }
            if (revolute == kArmJoints) {
                ignored += (ignored.empty() ? "" : ", ") + child->name;
                continue;
            }
            if (joint.type != urdf::Joint::REVOLUTE && joint.type != urdf::Joint::CONTINUOUS)
                return Fail("l'articulation « " + joint.name +
                            " » n'est pas rotative ; Kalimbrax attend six "
                            "articulations rotatives");
            if (joint.mimic)
                return Fail("l'articulation « " + joint.name +
                            " » en imite une autre ; Kalimbrax attend six "
                            "articulations indépendantes");
            SerialJoint& s = arm.chain.joints[revolute];
            s.name = joint.name;
            s.origin = origin;
            s.axis = KDL::Vector(joint.axis.x, joint.axis.y, joint.axis.z);
            if (s.axis.Normalize() == 0.0)
                return Fail("l'articulation « " + joint.name + " » a un axe nul");
            if (joint.type == urdf::Joint::CONTINUOUS || !joint.limits) {
                s.lower = -M_PI;
                s.upper = M_PI;
            } else {
                s.lower = joint.limits->lower;
                s.upper = joint.limits->upper;
            }
            s.velocity = joint.limits ? joint.limits->velocity : 0.0;
            if (++revolute == kArmJoints)
                sixthLink = child->name;
            if (!Visit(*child, revolute, KDL::Frame::Identity()))
                return false;
        }
        return true;
    }
};

// The parsed model, freed whole. Its links hold their children by shared
// pointers: a description's loop is a loop of them, which would never be
// freed, so they are let go first.
struct CModel {
    urdf::ModelInterfaceSharedPtr model;
    ~CModel()
    {
        if (model)
            for (const auto& [name, link] : model->links_) {
                link->child_links.clear();
                link->child_joints.clear();
            }
    }
};

// The links as a tree from the root, the walk's way through them. A
// description whose joints close a loop is no tree: a link the child of two
// joints (the loop reaches the root) or one the root does not reach (the
// loop stands apart), both of which the parser lets through. A tree deeper
// than kMaxChainLinks links is refused too: the walk is a recursion. On
// success, *movingBelow holds the links below which a moving joint lies.
bool TreeShape(const urdf::ModelInterface& model, const std::string& file, std::set<std::string>* movingBelow)
{
    std::map<std::string, std::string> parentJoint;
    for (const auto& [name, joint] : model.joints_) {
        const auto [known, first] = parentJoint.insert({joint->child_link_name, name});
        if (!first) {
            LogError("ReadUrdfArm -- %s : la description n'est pas un arbre : le lien « %s » est l'enfant de deux "
                     "articulations (« %s » et « %s »)",
                     file.c_str(), joint->child_link_name.c_str(), known->second.c_str(), name.c_str());
            return false;
        }
    }
    // Breadth first from the root: each link after its parent.
    const urdf::LinkConstSharedPtr root = model.getRoot();
    std::vector<std::pair<const urdf::Link*, int>> order = {{root.get(), 1}};
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto [link, depth] = order[i];
        if (depth > kMaxChainLinks) {
            LogError("ReadUrdfArm -- %s : le lien « %s » est à plus de %d liens de la racine : la description est "
                     "trop profonde",
                     file.c_str(), link->name.c_str(), kMaxChainLinks);
            return false;
        }
        for (const urdf::LinkSharedPtr& child : link->child_links)
            order.push_back({child.get(), depth + 1});
    }
    std::set<const urdf::Link*> reached;
    for (const auto& [link, depth] : order)
        reached.insert(link);
    for (const auto& [name, link] : model.links_)
        if (!reached.count(link.get())) {
            LogError("ReadUrdfArm -- %s : la description n'est pas un arbre : le lien « %s » n'est pas relié à la "
                     "racine « %s » (ses articulations forment une boucle)",
                     file.c_str(), name.c_str(), root->name.c_str());
            return false;
        }
    // Children before their parents.
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const urdf::Link& link = *it->first;
        for (const urdf::LinkSharedPtr& child : link.child_links)
            if (Moving(*child->parent_joint) || movingBelow->count(child->name)) {
                movingBelow->insert(link.name);
                break;
            }
    }
    return true;
}

}  // namespace

std::string ResolveMeshPath(const std::string& uri, const std::string& descriptionDir)
{
    static const std::string package = "package://", file = "file://";
    if (uri.compare(0, package.size(), package) == 0) {
        const std::string rest = uri.substr(package.size());
        const std::size_t slash = rest.find('/');
        if (slash == std::string::npos)
            return "";
        const std::string name = rest.substr(0, slash);
        for (std::string dir = descriptionDir;; dir = Parent(dir)) {
            // The package's folder itself, or a folder holding it.
            const std::size_t cut = dir.find_last_of('/');
            if (dir.substr(cut == std::string::npos ? 0 : cut + 1) == name && IsFile(dir + rest.substr(slash)))
                return dir + rest.substr(slash);
            if (IsFile(dir + "/" + rest))
                return dir + "/" + rest;
            if (dir == "/" || dir == ".")
                return "";
        }
    }
    std::string path = uri.compare(0, file.size(), file) == 0 ? uri.substr(file.size()) : uri;
    if (!path.empty() && path[0] != '/')
        path = descriptionDir + "/" + path;
    return IsFile(path) ? path : "";
}

bool ReadUrdfArm(const std::string& path, UrdfArm* arm)
{
    std::string text;
    if (!ReadInputFile(path, kMaxUrdfBytes, "ReadUrdfArm", &text))
        return false;
    // Absolute, so that the search for a package can climb above it.
    char* real = realpath(Parent(path).c_str(), nullptr);
    const std::string dir = real ? real : Parent(path);
    std::free(real);
    return ReadUrdfText(text, path, dir, arm);
}

bool ReadUrdfText(const std::string& text, const std::string& path, const std::string& dir, UrdfArm* arm)
{
    *arm = UrdfArm();
    if (XmlNestingDepth(text, kMaxXmlDepth) > kMaxXmlDepth) {
        LogError("ReadUrdfArm -- %s : éléments XML imbriqués sur plus de %zu niveaux", path.c_str(), kMaxXmlDepth);
        return false;
    }
    CParserMessages messages;
    console_bridge::useOutputHandler(&messages);
    const CModel owner{urdf::parseURDF(text)};
    const urdf::ModelInterfaceSharedPtr& model = owner.model;
    console_bridge::restorePreviousOutputHandler();
    if (!model || !model->getRoot()) {
        LogError("ReadUrdfArm -- %s : description illisible%s%s", path.c_str(),
                 messages.m_strFirst.empty() ? "" : " : ", messages.m_strFirst.c_str());
        return false;
    }
    arm->name = model->getName();
    ChainWalk walk(path, *arm);
    if (!TreeShape(*model, path, &walk.movingBelow) || !walk.Visit(*model->getRoot(), 0, KDL::Frame::Identity()))
        return false;
    if (walk.revolute < kArmJoints) {
        LogError("ReadUrdfArm -- %s : la chaîne depuis « %s » n'a que %d articulation(s) rotative(s) ; Kalimbrax en "
                 "attend six",
                 path.c_str(), model->getRoot()->name.c_str(), walk.revolute);
        return false;
    }
    if (!walk.ignored.empty())
        LogError("ReadUrdfArm -- %s : liens au-delà de la sixième articulation, mobiles, laissés de côté : %s",
                 path.c_str(), walk.ignored.c_str());

    // The flange: a link named flange, else tool0, fixed to the last body;
    // else the sixth joint's own link.
    arm->flangeLink = walk.sixthLink;
    for (const char* name : {"flange", "tool0"}) {
        const auto found = walk.bodyOf.find(name);
        if (found != walk.bodyOf.end() && found->second.first == kArmJoints) {
            arm->flangeLink = name;
            arm->chain.flange = found->second.second;
            break;
        }
    }

    for (const auto& [linkName, place] : walk.bodyOf) {
        const urdf::LinkConstSharedPtr link = model->getLink(linkName);
        for (const urdf::VisualSharedPtr& visual : link->visual_array) {
            if (!visual || !visual->geometry)
                continue;
            if (visual->geometry->type != urdf::Geometry::MESH) {
                LogError("ReadUrdfArm -- %s : le lien « %s » a une forme simple (boîte, cylindre ou sphère) : seuls "
                         "les maillages sont importés, elle est laissée de côté",
                         path.c_str(), linkName.c_str());
                continue;
            }
            const urdf::Mesh& mesh = static_cast<const urdf::Mesh&>(*visual->geometry);
            const std::string owner = "le lien « " + linkName + " »";
            if (!WithinReach(path, owner, "visual origin", visual->origin.position) ||
                !Within(path, owner, "mesh scale", {mesh.scale.x, mesh.scale.y, mesh.scale.z}, -kMaxMeshScale,
                        kMaxMeshScale, ""))
                return false;
            LinkVisual v;
            v.body = place.first;
            v.link = linkName;
            v.place = place.second * FrameOf(visual->origin);
            v.meshFile = ResolveMeshPath(mesh.filename, dir);
            v.written = mesh.filename;
            v.scale[0] = mesh.scale.x;
            v.scale[1] = mesh.scale.y;
            v.scale[2] = mesh.scale.z;
            // A material named only by name is defined once for the whole
            // description.
            urdf::MaterialSharedPtr material = visual->material;
            if (!material && !visual->material_name.empty())
                material = model->getMaterial(visual->material_name);
            if (material && material->texture_filename.empty()) {
                v.coloured = true;
                v.rgba[0] = material->color.r;
                v.rgba[1] = material->color.g;
                v.rgba[2] = material->color.b;
                v.rgba[3] = material->color.a;
            }
            arm->visuals.push_back(v);
        }
    }
    return true;
}
