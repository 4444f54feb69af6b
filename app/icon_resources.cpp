// Pictures of the toolbars and lists: icons of the desktop's theme (breeze)
// where one fits, else the small drawings of app/icons.

#include "app/frame_resources.h"

#include "app/own_icons.h"
#include "platform/ui/CImageList.h"

namespace {

struct IconName {
    UINT id;
    const char* name;   // an app/icons drawing, else a theme icon
};

const IconName kIcons[] = {
    // Main toolbar, resources 212..240.
    {212, "document-new"}, {213, "document-open"}, {214, "document-save"}, {220, "document-properties"},
    {215, "edit-copy"}, {216, "edit-cut"}, {219, "edit-paste"}, {217, "edit-undo"}, {218, "edit-redo"},
    {229, "zoom-fit-best"}, {221, "zoom-in"}, {222, "zoom-out"}, {232, "array"}, {240, "origin"},
    {231, "path_view3d"}, {224, "path_one"}, {225, "path_many"}, {239, "path_batch"},
    {226, "document-export"}, {230, "application-exit"},
    // Drawing toolbar 133, by command.
    {32780, "draw-line"}, {32782, "draw-polyline"}, {32781, "draw-bezier-curves"}, {32783, "draw-circle"},
    {32784, "draw_arc"}, {32785, "draw-rectangle"}, {32786, "draw-ellipse"}, {32787, "draw-polygon"},
    {32791, "draw-ellipse-arc"}, {32849, "draw-eraser"}, {32820, "transform-move"}, {32772, "transform-crop"},
    {32822, "format-break-node"}, {32824, "object-flip-horizontal"}, {32826, "fillet"}, {32831, "chamfer"},
    {32827, "transform-scale"}, {32828, "object-rotate-right"}, {32841, "tangent"}, {32825, "extend"},
    {32823, "align_edges"}, {32852, "path-break-apart"}, {65027, "path-offset-dynamic"},
    // Dimension toolbar 134, by command.
    {32891, "dim_aligned"}, {32892, "dim_linear"}, {32898, "dim_diameter"}, {32899, "dim_radius"},
    {32900, "draw-text"}, {32901, "dim_angle"}, {32906, "dim_arc"}, {32922, "dim_dash"},
    // Rows of the file browsers, the help list.
    {IDI_UP_ROW, "go-parent-folder"}, {IDI_FOLDER_ROW, "folder"}, {IDI_FILE_ROW, "text-x-generic"},
    {IDI_DRIVE_ROW, "drive-harddisk"}, {IDI_HELP_TOPIC, "help-contents"},
    // The export confirmation's picture.
    {236, "document-export"},
};

} // namespace

void RegisterIconResources()
{
    for (const IconName& icon : kIcons) {
        if (const char* svg = OwnIconSvg(icon.name))
            RegisterSvgIcon(icon.id, svg);
        else
            RegisterThemeIcon(icon.id, icon.name);
    }
}
