// kalimbrax-kin: the arm's geometric models for scripts and batch work.
//   kalimbrax-kin mgd [DATA_DIR]                          six joint angles per line -> tool pose
//   kalimbrax-kin mgi [--exact | --grid | --all] [DATA_DIR]  tool pose per line -> six joint angles
// The lengths come from DATA_DIR/robot.opt ("default" when absent); see
// KinBatch.h for the models and the output.
#include "tools/kin/KinBatch.h"

#include <cstdio>

int main(int argc, char** argv)
{
    return RunKinTool(argc, argv, stdin, stdout, stderr);
}
