// The one controller (see Controller.h).
#include "sim/Controller.h"

#include "base/FrenchDecimal.h"
#include "base/Log.h"
#include "base/FileReplace.h"
#include "arm/ArmKinematics.h"
#include "arm/Configurations.h"
#include "collision/CollisionWorld.h"
#include "kinematics/KdlFrames.h"
#include "motion/JogMotion.h"
#include "motion/PlanContacts.h"
#include "sim/MotionRecorder.h"
#include "sim/ProgramNames.h"
#include "sim/Simulation.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

std::string DescribeMGI(const MGIResult& r)
{
    if (r.model == MGIModel::Grid)
        return "Grille : centre du poignet à " + FormatDecimal(r.distance, 1) + " de la cible";
    std::string outcome = "Pose atteinte";
    if (!r.reached)
        outcome = "Hors d'atteinte : il manque " + FormatDecimal(r.distance, 1) + " unités de pose";
    if (!r.withinLimits)
        outcome += " ; aucune configuration dans les limites des angles";
    return outcome + " ; " + DescribePosture(r.posture);
}

bool SameAngles(const JointAngles& a, const JointAngles& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

CController::CController(CSimulation& simulation, CView& view, const CMotionRecorder& recorder)
    : m_Simulation(simulation), m_View(view), m_Recorder(recorder)
{
    // The pose fields start where the arm stands.
    m_Pose = PoseOf(simulation.Angles());
}

const JointAngles& CController::EditedAngles() const
{
    return m_bRealTime ? m_Simulation.Targets() : m_Simulation.Angles();
}

void CController::SetEdited(const JointAngles& angles)
{
    if (m_bRealTime)
        m_Simulation.SetTargets(angles);
    else
        m_Simulation.SetAngles(angles);
}

std::string CController::StatusLine() const
{
    // The last computation's words while the arm holds what it gave; once
    // anything else moved the arm, how the arm holds itself now.
    const StatusNote& n = m_Note;
    const JointAngles& end = n.jog ? n.jog->Angles() : n.angles;
    const bool holds = n.motion ? m_Simulation.MotionNumber() == n.motion &&
                                      (m_Simulation.Moving() || SameAngles(m_Simulation.Angles(), end))
                                : SameAngles(EditedAngles(), n.angles);
    if (n.shown && holds && n.jog && n.jog->Ended())
        return n.text + " arrêté : " + DescribeFailure(n.jog->Reason());
    if (n.shown && holds)
        return n.text;
    const ArmDescription& arm = m_Simulation.Arm();
    return "Configuration : " + DescribePosture(PostureOf(arm.Lengths(), ModelAngles(arm, m_Simulation.Angles())));
}

void CController::Note(std::string text, const JointAngles& angles, unsigned long motion)
{
    m_Note = {std::move(text), angles, motion, true, nullptr};
}

void CController::SetJointAngle(int joint, float degrees)
{
    // Only this joint changes: the others stay where they are, even outside
    // their limits (a start angle may be).
    const JointLimits& limits = m_Simulation.Arm().limits;
    JointAngles edited = EditedAngles();
    edited.*kJointFields[joint] = ClampIntoLimits(degrees, limits.low[joint], limits.high[joint]);
    if (!m_bImmediate)
        m_Pose = PoseOf(edited);
    SetEdited(edited);
}

void CController::SetPoseValue(int index, float value)
{
    m_Pose.*kPoseFields[index] = value;
    if (!m_bImmediate)
        ApplyMGI();
    else
        m_Simulation.NotifyStateChanged();
}

void CController::SetRealTime(bool on)
{
    if (on == m_bRealTime)
        return;
    SwitchRealTime(on);
    m_Simulation.NotifyStateChanged();
}

void CController::SwitchRealTime(bool on)
{
    if (on == m_bRealTime)
        return;
    if (on)
        m_Simulation.SetTargets(m_Simulation.Angles());  // old targets would pull the arm back on GO
    else
        Stop();
    m_bRealTime = on;
}

void CController::SetImmediate(bool on)
{
    m_bImmediate = on;
    m_Simulation.NotifyStateChanged();
}

ActionResult CController::StartMotion()
{
    if (!m_bRealTime)
        return {false, "le temps réel n'est pas actif"};
    m_Simulation.StartChase();
    m_Simulation.NotifyStateChanged();
    return {};
}

namespace {

const char* MoveName(MoveKind kind)
{
    switch (kind) {
    case MoveKind::Joint:
        return "Mouvement articulaire synchronisé";
    case MoveKind::Linear:
        return "Mouvement linéaire";
    case MoveKind::Arc:
        return "Arc";
    }
    return "";
}

}  // namespace

MoveOutcome CController::Move(const MoveRequest& request, bool run)
{
    return Carry(m_Simulation.Frames().ToBase(request), MoveName(request.kind), run);
}

MoveOutcome CController::Carry(const MoveRequest& request, const std::string& what, bool run)
{
    const JointAngles start = m_Simulation.Angles();
    MovePlan plan = PlanMove(m_Simulation.Arm(), start, request, m_fSpeedPercent, m_Simulation.Cell());
    m_View.ShowPlannedPath(plan.path, plan.refusedFrom);
    MoveOutcome outcome;
    outcome.ok = plan.ok;
    if (!plan.ok) {
        // The place of a refusal, as every pose given, in the frame in use.
        const CWorkFrames& frames = m_Simulation.Frames();
        if (plan.failure.placed && frames.InUse()) {
            double* p = plan.failure.place;
            const KDL::Vector at = frames.InUseFrame().Inverse() * KDL::Vector(p[0], p[1], p[2]);
            for (int i = 0; i < 3; ++i)
                p[i] = at[i];
        }
        outcome.words = DescribeFailure(plan.failure);
        Note("Refusé : " + outcome.words, EditedAngles());
        m_Simulation.NotifyStateChanged();
        return outcome;
    }
    outcome.duration = plan.duration;
    outcome.end = plan.trajectory->Samples().back().angles;
    if (!run) {
        if (m_Simulation.Cell())
            outcome.clearance = PlanClearance(*m_Simulation.Cell(), plan);
        Note("Vérifié : " + what + " en " + FormatDecimal(plan.duration, 2) + " s", EditedAngles());
        m_Simulation.NotifyStateChanged();
        return outcome;
    }
    // The real-time targets follow the move, so that a later GO does not
    // pull the arm back.
    m_Simulation.Start(std::move(plan.trajectory));
    outcome.motion = m_Simulation.MotionNumber();
    Note(what + " : " + FormatDecimal(outcome.duration, 2) + " s", outcome.end, outcome.motion);
    m_Simulation.SetTargets(outcome.end);
    return outcome;
}

MoveOutcome CController::MoveToPoseFields(bool run)
{
    MoveRequest request;
    request.kind = m_eMoveKind;
    request.pose = m_Pose;
    if (m_eMoveKind == MoveKind::Joint) {
        const MGIResult inverse = MGIOf(m_Pose);
        if (!inverse.reached) {
            MoveOutcome refused;
            refused.words = "hors d'atteinte, à " + FormatDecimal(inverse.distance, 1) + " unités de pose";
            Note("Refusé : " + refused.words, EditedAngles());
            m_Simulation.NotifyStateChanged();
            return refused;
        }
        request.joints = inverse.angles;
    }
    return Move(request, run);
}

MoveOutcome CController::MoveToConfiguration(int number, bool run)
{
    for (const ArmConfiguration& c : ConfigurationsOf(m_Simulation.Arm(), m_Simulation.Angles()))
        if (c.number == number) {
            MoveRequest request;
            request.joints = c.angles;
            return Move(request, run);
        }
    MoveOutcome refused;
    refused.words = NoSuchConfiguration(std::to_string(number));
    return refused;
}

void CController::SetMoveKind(MoveKind kind)
{
    m_eMoveKind = kind;
    m_Simulation.NotifyStateChanged();
}

void CController::SetSpeedPercent(float percent)
{
    m_fSpeedPercent = percent;
    m_Simulation.NotifyStateChanged();
}

namespace {

// A jog as the status line names it: "Déplacement manuel Outil z",
// "Déplacement manuel A23".
std::string JogName(const ArmDescription& arm, JogFrame frame, int axis)
{
    static const char* const kFrames[] = {"", "Base", "Outil", "Repère"};
    const std::string what = "Déplacement manuel ";
    if (frame == JogFrame::Joints)
        return what + arm.JointLabel(axis);
    return what + kFrames[static_cast<int>(frame)] + " " + JogAxisWord(axis);
}

// An axis (or joint) from 0 to 5; false with the reason.
bool KnownJogAxis(int axis, std::string* reason)
{
    if (axis >= 0 && axis < kJogAxes)
        return true;
    *reason = "axe " + std::to_string(axis) + " inconnu : de 0 à 5";
    return false;
}

}  // namespace

ToolPose CController::JogUserFrame() const
{
    const NamedFrame* frame = m_Simulation.Frames().InUse();
    return frame ? frame->pose : ToolPose{};
}

MoveOutcome CController::Jog(JogFrame frame, int axis, double delta, bool run)
{
    MoveOutcome refused;
    if (!KnownJogAxis(axis, &refused.words))
        return refused;
    if (!std::isfinite(delta)) {
        refused.words = "pas non fini";
        return refused;
    }
    const ArmDescription& arm = m_Simulation.Arm();
    const JointAngles& angles = m_Simulation.Angles();
    MoveRequest request;
    if (frame == JogFrame::Joints) {
        request.joints = JogJoints(angles, axis, delta);
    } else {
        request.kind = MoveKind::Linear;
        request.pose = PoseOfFrame(JogToolFrame(ArmMGDFrame(arm, angles), frame, axis, delta, JogUserFrame()));
    }
    return Carry(request, JogName(arm, frame, axis), run);
}

ActionResult CController::StartJog(JogFrame frame, int axis, int direction)
{
    const ArmDescription& arm = m_Simulation.Arm();
    JogAxis jog;
    jog.frame = frame;
    jog.axis = axis;
    jog.direction = direction;
    jog.user = JogUserFrame();
    std::string reason;
    if (!KnownJogAxis(axis, &reason))
        return {false, reason};
    if (direction != 1 && direction != -1)
        return {false, "sens 1 ou -1 attendu"};
    PlanFailure failure;
    std::unique_ptr<CJogMotion> motion =
        CJogMotion::Begin(arm, m_Simulation.Angles(), jog, arm.jogSpeed, m_Simulation.Cell(), &failure);
    if (!motion) {
        const std::string words = DescribeFailure(failure);
        Note("Refusé : " + words, EditedAngles());
        m_Simulation.NotifyStateChanged();
        return {false, words};
    }
    Stop();
    m_Simulation.Start(std::move(motion));
    m_iJogMotion = m_Simulation.MotionNumber();
    Note(JogName(arm, frame, axis), {}, m_iJogMotion);
    m_Note.jog = std::static_pointer_cast<const CJogMotion>(m_Simulation.Trajectory());
    m_Simulation.NotifyStateChanged();
    return {};
}

void CController::StopJog()
{
    if (m_iJogMotion == 0 || m_Simulation.MotionNumber() != m_iJogMotion)
        return;
    m_iJogMotion = 0;
    Stop();
    m_Simulation.NotifyStateChanged();
}

void CController::StopMotion()
{
    Stop();
    m_Simulation.NotifyStateChanged();
}

void CController::Stop()
{
    m_Simulation.Stop();
    m_Simulation.SetTargets(m_Simulation.Angles());
}

void CController::CalculateMGD()
{
    m_Pose = PoseOf(EditedAngles());
    m_Simulation.NotifyStateChanged();
}

MGIResult CController::CalculateMGI()
{
    return ApplyMGI();
}

MGIResult CController::MGIOf(const ToolPose& pose) const
{
    // The grid model's one answer is moved by whole turns nearest the
    // angles being edited; the exact model takes the configuration nearest
    // where the arm stands, so that a pose changed step by step moves the
    // arm smoothly and never flips it. Either way the angles are clamped
    // into the limits, as the spinners would.
    const ArmDescription& arm = m_Simulation.Arm();
    const bool exact = arm.Model() == MGIModel::Exact;
    MGIResult result = ArmMGI(arm, m_Simulation.Frames().ToBase(pose), exact ? m_Simulation.Angles() : EditedAngles());
    result.angles = ClampIntoLimits(result.angles, arm.limits);
    return result;
}

MGIResult CController::ApplyMGI()
{
    const MGIResult result = MGIOf(m_Pose);
    Note(DescribeMGI(result), result.angles);
    SetEdited(result.angles);
    return result;
}

void CController::SetAngles(const JointAngles& angles)
{
    m_Simulation.Stop();
    const JointAngles clamped = ClampIntoLimits(angles, m_Simulation.Arm().limits);
    m_Simulation.SetTargets(clamped);
    m_Simulation.SetAngles(clamped);
}

void CController::SetTargets(const JointAngles& angles)
{
    SwitchRealTime(true);
    m_Simulation.SetTargets(ClampIntoLimits(angles, m_Simulation.Arm().limits));
}

MGIResult CController::MoveToPose(const ToolPose& pose)
{
    m_Pose = pose;
    const MGIResult result = MGIOf(pose);
    Note(DescribeMGI(result), result.angles);
    SetAngles(result.angles);
    return result;
}

KDL::Frame CController::MatrixOf(const JointAngles& angles) const
{
    return ArmMGDFrameIn(m_Simulation.Frames(), m_Simulation.Arm(), angles);
}

ToolPose CController::PoseOf(const JointAngles& angles) const
{
    return ArmMGDIn(m_Simulation.Frames(), m_Simulation.Arm(), angles);
}

namespace {

// The tool's values as robot.opt's fTool keys take them: a tool of at most
// a hundred scene units, turned at most a whole turn.
bool CheckTool(const ToolPose& tool, std::string* reason)
{
    static const char* const kNames[6] = {"X", "Y", "Z", "alpha", "bêta", "gamma"};
    for (int i = 0; i < 6; ++i) {
        const float value = tool.*kPoseFields[i];
        const float most = i < 3 ? 10000.0f : 360.0f;
        if (!(value >= -most && value <= most)) {
            *reason = std::string(kNames[i]) + " = " + FormatShortDecimal(value) + " hors de [" +
                      FormatShortDecimal(-most) + " ; " + FormatShortDecimal(most) + "]";
            return false;
        }
    }
    return true;
}

}  // namespace

ActionResult CController::SetTool(const ToolPose& tool)
{
    std::string reason;
    if (!CheckTool(tool, &reason))
        return {false, reason};
    m_Simulation.SetTool(tool);
    m_Pose = PoseOf(EditedAngles());
    m_Simulation.NotifyStateChanged();
    return {};
}

ToolPose CController::Tool() const
{
    const ArmDescription& arm = m_Simulation.Arm();
    return {arm.toolOffset[0], arm.toolOffset[1], arm.toolOffset[2], arm.toolTurn[0], arm.toolTurn[1], arm.toolTurn[2]};
}

void CController::ChangeFrames(const CWorkFrames& frames)
{
    m_Pose = frames.FromBase(m_Simulation.Frames().ToBase(m_Pose));
    m_Simulation.SetFrames(frames);
}

namespace {

std::string NoFrame(const std::string& name)
{
    return "aucun repère « " + name + " »";
}

std::string NoPoint(const std::string& name)
{
    return "aucun point « " + name + " »";
}

bool FinitePose(const ToolPose& pose)
{
    for (float ToolPose::*field : kPoseFields)
        if (!std::isfinite(pose.*field))
            return false;
    return true;
}

}  // namespace

ActionResult CController::DefineFrame(const std::string& name, const ToolPose& pose)
{
    ActionResult result;
    if (!CheckProgramName(ProgramName::Frame, name, &result.message))
        return {false, result.message};
    if (!FinitePose(pose))
        return {false, "repère « " + name + " » : nombre non fini"};
    CWorkFrames frames = m_Simulation.Frames();
    frames.Define(name, pose);
    ChangeFrames(frames);
    return result;
}

ActionResult CController::UseFrame(const std::string& name)
{
    CWorkFrames frames = m_Simulation.Frames();
    if (!frames.Use(name))
        return {false, NoFrame(name)};
    ChangeFrames(frames);
    return {};
}

ActionResult CController::RemoveFrame(const std::string& name)
{
    CWorkFrames frames = m_Simulation.Frames();
    if (!frames.Remove(name))
        return {false, NoFrame(name)};
    ChangeFrames(frames);
    return {};
}

ActionResult CController::StorePoint(const std::string& name)
{
    return DefinePoint(name, m_Simulation.Angles());
}

std::string CController::StoreNextPoint()
{
    const std::string name = m_Simulation.Points().NextFreeName();
    DefinePoint(name, m_Simulation.Angles());
    return name;
}

ActionResult CController::DefinePoint(const std::string& name, const JointAngles& angles)
{
    std::string reason;
    if (!CheckProgramName(ProgramName::Point, name, &reason))
        return {false, reason};
    for (float JointAngles::*joint : kJointFields)
        if (!std::isfinite(angles.*joint))
            return {false, "point « " + name + " » : angle non fini"};
    CTaughtPoints points = m_Simulation.Points();
    points.Store(name, angles);
    m_Simulation.SetPoints(points);
    return {};
}

ActionResult CController::RemovePoint(const std::string& name)
{
    CTaughtPoints points = m_Simulation.Points();
    if (!points.Remove(name))
        return {false, NoPoint(name)};
    m_Simulation.SetPoints(points);
    return {};
}

ActionResult CController::PointAngles(const std::string& name, JointAngles* angles) const
{
    const TaughtPoint* point = m_Simulation.Points().Find(name);
    if (!point)
        return {false, NoPoint(name)};
    const std::string outside = FirstOutsideLimits(m_Simulation.Arm(), point->angles);
    if (!outside.empty())
        return {false, "point « " + name + " » : " + outside};
    *angles = point->angles;
    return {};
}

MoveOutcome CController::MoveToPoint(const std::string& name, MoveKind kind, bool run)
{
    MoveOutcome refused;
    JointAngles angles;
    const ActionResult found = PointAngles(name, &angles);
    if (!found.ok || kind == MoveKind::Arc) {
        refused.words = found.ok ? "un arc demande un point de passage" : found.message;
        Note("Refusé : " + refused.words, EditedAngles());
        m_Simulation.NotifyStateChanged();
        return refused;
    }
    MoveRequest request;
    request.kind = kind;
    request.joints = angles;
    request.pose = ArmMGD(m_Simulation.Arm(), angles);  // in the base frame, as Carry takes it
    return Carry(request, MoveName(kind), run);
}

WorkDefinitions CController::Work() const
{
    return {m_Simulation.Frames(), m_Simulation.Points(), Tool(), m_Simulation.ToolSetAtRunTime()};
}

void CController::RestoreWork(const WorkDefinitions& work)
{
    ChangeFrames(work.frames);
    m_Simulation.SetPoints(work.points);
    const ToolPose tool = Tool();
    m_Simulation.SetTool(work.tool, work.toolSetAtRunTime);
    if (std::memcmp(&tool, &work.tool, sizeof tool) != 0) {
        m_Pose = PoseOf(EditedAngles());
        m_Simulation.NotifyStateChanged();
    }
}

namespace {

// The reason a cell action is refused before the link meshes are read.
const char* const kNoCell = "pas de cellule : les maillages du bras ne sont pas lus";

}  // namespace

ActionResult CController::ChangeCell(const std::function<bool(CCollisionWorld&, std::string*)>& change)
{
    ActionResult result;
    CCollisionWorld* cell = m_Simulation.Cell();
    if (!cell)
        result.message = kNoCell;
    result.ok = cell && change(*cell, &result.message);
    if (result.ok)
        m_Simulation.CellChanged();
    return result;
}

ActionResult CController::DefineObject(const ObjectDefinition& object)
{
    return ChangeCell([&](CCollisionWorld& cell, std::string* reason) { return cell.DefineObject(object, reason); });
}

ActionResult CController::SetObjectColour(const std::string& name, const std::string& colour)
{
    return ChangeCell(
        [&](CCollisionWorld& cell, std::string* reason) { return cell.SetObjectColour(name, colour, reason); });
}

ActionResult CController::RemoveObject(const std::string& name)
{
    return ChangeCell([&](CCollisionWorld& cell, std::string* reason) { return cell.RemoveObject(name, reason); });
}

void CController::RemoveAllObjects()
{
    if (CCollisionWorld* cell = m_Simulation.Cell()) {
        cell->RemoveAllObjects();
        m_Simulation.CellChanged();
    }
}

ActionResult CController::ShowObject(const std::string& name, bool shown)
{
    const CCollisionWorld* cell = m_Simulation.Cell();
    if (!cell)
        return {false, kNoCell};
    if (!cell->FindObject(name))
        return {false, "aucun objet « " + name + " »"};
    m_Simulation.ShowObject(name, shown);
    return {};
}

bool CController::ObjectShown(const std::string& name) const
{
    return m_Simulation.ObjectShown(name);
}

void CController::SetDisplayFlag(DisplayFlag flag, bool on)
{
    if (flag == DisplayFlag::WireFrame)
        m_View.SetWireFrame(on);
    m_Simulation.SetDisplay(flag, on);
    if (flag == DisplayFlag::Orbit)
        m_View.UseOrbit(on);
}

void CController::LookAround(const OrbitView& view)
{
    SetDisplayFlag(DisplayFlag::Orbit, true);
    m_View.SetOrbit(view);
}

bool CController::IsDisplayed(DisplayFlag flag) const
{
    return m_Simulation.Display()[flag];
}

void CController::ResetCamera()
{
    m_View.ResetCamera();
}

void CController::ClearTrail()
{
    m_View.ClearTrail();
}

ActionResult CController::SaveScreenshot(const char* fileName)
{
    PictureSize size;
    if (!m_View.SaveScreenshot(fileName, size))
        return {false, std::string("impossible d'écrire « ") + fileName + " »"};
    LogWrite(LOG_DEBUG, "Capture écrite : %s (%d x %d)", fileName, size.width, size.height);
    return {};
}

void CController::Exit()
{
    m_View.Exit();
}

ActionResult CController::RecordMotion(const char* fileName)
{
    const std::vector<MotionSample> rows = m_Recorder.Rows(kRecordStep);
    if (rows.empty())
        return {false, "aucun mouvement à enregistrer"};
    if (!ReplaceFile(fileName, [&](FILE* file) {
            return WriteMotionRecord(file, rows, m_Simulation.Arm(), m_Simulation.Frames());
        }))
        return {false, std::string("impossible d'écrire « ") + fileName + " »"};
    LogWrite(LOG_DEBUG, "Mouvement enregistré : %s", fileName);
    return {};
}

ActionResult CController::TeachPose()
{
    const JointAngles& a = m_Simulation.Angles();
    std::string reason;
    if (FILE* file = std::fopen("poses.txt", "a+")) {
        // The file's lines so far give the number of the one taught; closed
        // at once, the line is on disk whatever happens next.
        long lines = 0;
        for (int c; (c = std::fgetc(file)) != EOF;)
            lines += c == '\n';
        std::fseek(file, 0, SEEK_END);  // a stream that was read must seek before it writes
        const bool printed =
            std::fprintf(file, "moveto %.9g %.9g %.9g %.9g %.9g %.9g\n", a.A12, a.A23, a.A34, a.A45, a.A56, a.A67) > 0;
        if (std::fclose(file) == 0 && printed) {
            LogWrite(LOG_DEBUG, "Pose apprise : ligne %ld de poses.txt", lines + 1);
            return {};
        }
        reason = "impossible d'écrire dans poses.txt";
    } else {
        reason = "impossible d'ouvrir poses.txt en écriture";
    }
    // The record keeps the name it has always had in the error log.
    LogError("CPanelActions::TeachPose -- %s", reason.c_str());
    return {false, reason};
}
