#ifndef KELVANE_QT_ACCESSIBLE_ROLES_H_
#define KELVANE_QT_ACCESSIBLE_ROLES_H_

namespace kelvane {

// Gives screen readers the roles of two widgets that Qt has no class for: the folder line
// ("folderLine") is a link, which a press clicks; the preview ("preview") is a chart. Once
// for the application; again does nothing.
void InstallAccessibleRoles();

}  // namespace kelvane

#endif  // KELVANE_QT_ACCESSIBLE_ROLES_H_
