// Building the step status tree from the step lines, and keeping it up to date in place so
// that a node keeps its key (and the user's expand state) for as long as its task stays.
#pragma once

#include <QVector>

#include "status/node_keys.h"
#include "status/recursive_parse.h"
#include "status/step_tree.h"

namespace zel::status {

// Into an empty tree: the root line keyed "t0", every other line under its starter's node.
void NewBuild(StepTree& tree, const QVector<StepLine>& lines, NodeKeys& keys);

// Into the existing tree: each node takes its line's text; children whose task no longer hangs
// under the node go, started tasks without a node are added as NewBuild adds them.
void OldBuild(StepTree& tree, const QVector<StepLine>& lines, NodeKeys& keys);

// NewBuild or OldBuild as the tree needs, then ResetKey over the nodes now in the tree.
void updateStepTree(StepTree& tree, const QVector<StepLine>& lines, NodeKeys& keys);

}  // namespace zel::status
