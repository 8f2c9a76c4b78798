#pragma once
// The one simulation: the arm's description, its state (current and target
// angles), what the display shows, and the motion that moves the arm over
// time by sampling a trajectory. No GL and no clock of its own: the program
// feeds Advance from its idle callback, tests feed it the times they choose.
//
// Whatever shows or records the arm listens: every change of the state and
// every step of a motion reaches every listener, in the order they came.
#include "arm/ArmDescription.h"
#include "collision/CollisionPair.h"
#include "motion/Trajectory.h"
#include "sim/DisplaySwitches.h"
#include "sim/TaughtPoints.h"
#include "sim/WorkFrames.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

class CCollisionWorld;

class CSimulationListener {
public:
    virtual ~CSimulationListener() = default;
    // The angles, the targets or anything else shown changed at once.
    virtual void OnStateChanged() {}
    virtual void OnMotionStarted(const CTrajectory& /*trajectory*/) {}
    // A step of the motion that moved the arm: t seconds after its start.
    virtual void OnMotionStep(double /*t*/, const JointAngles& /*angles*/) {}
    // The motion ended: at the end of its trajectory, or stopped before.
    virtual void OnMotionEnded(bool /*arrived*/) {}
};

class CSimulation {
public:
    // The arm at its start angles; the display as the data set starts it.
    explicit CSimulation(const ArmDescription& arm, const DisplayFlags& display = DisplayFlags());
    ~CSimulation();
    CSimulation(const CSimulation&) = delete;
    CSimulation& operator=(const CSimulation&) = delete;

    const ArmDescription& Arm() const { return m_Arm; }
    // The boxes of the links' meshes, once whoever reads the meshes has them.
    void SetLinkBox(int link, const MeshBox& box) { m_Arm.box[link] = box; }

    const JointAngles& Angles() const { return m_Angles; }
    const JointAngles& Targets() const { return m_Targets; }
    // Set at once; a running motion goes on from there.
    void SetAngles(const JointAngles& angles);
    void SetTargets(const JointAngles& angles);

    // The arm's cell: its links' collision models and the objects around
    // it, once whoever reads the link meshes has built it; null before.
    void SetCell(std::unique_ptr<CCollisionWorld> cell);
    const CCollisionWorld* Cell() const { return m_pCell.get(); }
    CCollisionWorld* Cell() { return m_pCell.get(); }
    // Whoever changes the cell's objects says so here: the revision counts
    // the changes (what is worked out from the cell is worked out again when
    // it moves on), a removed object's hidden state goes, and the listeners
    // are told.
    void CellChanged();
    unsigned long CellRevision() const { return m_iCellRevision; }
    // Whether an object of the cell is drawn: display state only, a hidden
    // object is still checked for collisions. Objects are shown until
    // hidden, and a new definition keeps the state.
    void ShowObject(const std::string& name, bool shown);
    bool ObjectShown(const std::string& name) const { return m_HiddenObjects.count(name) == 0; }

    // The tool frame in the hand (the arm's toolOffset and toolTurn, as
    // robot.opt's fTool keys give it at start) changed at run time, and
    // whether it was since the start (what `save` writes it for).
    void SetTool(const ToolPose& tool, bool setAtRunTime = true);
    bool ToolSetAtRunTime() const { return m_bToolSet; }
    // The user frames and the taught points, each change told. Only the
    // controller changes them.
    const CWorkFrames& Frames() const { return m_Frames; }
    const CTaughtPoints& Points() const { return m_Points; }
    void SetFrames(const CWorkFrames& frames);
    void SetPoints(const CTaughtPoints& points);

    const DisplayFlags& Display() const { return m_Display; }
    void SetDisplay(DisplayFlag flag, bool on);

    // Tells the listeners of a change of state made elsewhere (a mode of
    // the panel, for instance), so they show it.
    void NotifyStateChanged();

    // Motion. Starting a trajectory ends the one that runs (stopped). The
    // first Advance after a start only sets the motion's clock.
    void Start(std::unique_ptr<CTrajectory> trajectory);
    // The per-joint chase toward the targets at the joints' maximum
    // speeds; nothing more while the chase already runs.
    void StartChase();
    // Stops the arm where it stands.
    void Stop();
    bool Moving() const { return m_pTrajectory != nullptr; }
    // The trajectory under way, shared with whoever keeps it after the
    // motion (the recorder samples it at times of its own); none when still.
    std::shared_ptr<const CTrajectory> Trajectory() const { return m_pTrajectory; }
    // Motions are numbered from 1 as they start: the number of the one
    // under way or the last one (0 before any), of the last one that ended,
    // and whether that one ended at the end of its trajectory.
    unsigned long MotionNumber() const { return m_iMotion; }
    unsigned long EndedMotion() const { return m_iEnded; }
    bool EndedArrived() const { return m_bEndedArrived; }
    // With the arm's stopOnCollision, a motion stops at its first step
    // where a pair touches that did not at its start (so that an arm in
    // contact can still be moved out): the pair that stopped the last motion
    // that ended, with no link (-1) when none did.
    const CollisionPair& EndedContact() const { return m_EndedContact; }
    // One step of the motion at `now`, seconds on a monotonic clock.
    TrajectoryStep Advance(double now);

    // Listeners are not owned and must be removed before they go away.
    void AddListener(CSimulationListener* listener);
    void RemoveListener(CSimulationListener* listener);

private:
    void End(bool arrived);
    // With stopOnCollision: the first pair in contact at `angles` that was
    // not at the motion's start, into *pair.
    bool NewContact(const JointAngles& angles, CollisionPair* pair) const;
    template <class Call>
    void Notify(const Call& call);

    ArmDescription m_Arm;
    JointAngles m_Angles;
    JointAngles m_Targets;
    DisplayFlags m_Display;
    bool m_bToolSet = false;
    CWorkFrames m_Frames;
    CTaughtPoints m_Points;
    std::unique_ptr<CCollisionWorld> m_pCell;
    unsigned long m_iCellRevision = 0;
    std::set<std::string> m_HiddenObjects;
    std::shared_ptr<CTrajectory> m_pTrajectory;
    std::vector<CollisionPair> m_StartContacts;  // of the motion under way, with stopOnCollision
    CollisionPair m_EndedContact;
    bool m_bChasing = false;
    unsigned long m_iMotion = 0, m_iEnded = 0;
    bool m_bEndedArrived = false;
    bool m_bClockStarted = false;
    double m_dStartTime = 0.0;
    std::vector<CSimulationListener*> m_Listeners;
};
