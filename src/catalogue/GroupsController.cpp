#include "catalogue/GroupsController.h"

#include "app/TfrmMain.h"

namespace orvane {

GroupsController::GroupsController(TfrmMain& main) : QObject(&main), main_(main) {}

void GroupsController::Connect() {}

void GroupsController::FillVariantTable() {}

void GroupsController::RefreshTotals() {}

void GroupsController::WriteVariantDescription() {}

void GroupsController::AssignGroupsFromVariant(int) {}

void GroupsController::RebuildGroupsTree(int) {}

}  // namespace orvane
