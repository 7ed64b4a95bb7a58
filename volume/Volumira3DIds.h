// The control ids of the main dialog of the volume plug-in, its probing rows and its window
// menu, apart from the dialog so that the pieces wiring its controls need not include it. Batch
// scripts address the controls by these numbers.
#pragma once

namespace volumira3d
{
enum : int
{
    IDD_VOLUMIRA3D = 1000,
    IDC_INPUT_FILE = 1001,
    IDC_BROWSE = 1002,
    IDC_LOAD_DATA = 1003,
    IDC_CLEAR_DATA = 1004,
    IDC_POSTPROCESS = 1005,
    IDC_PLANE_XY = 1010,
    IDC_PLANE_YZ = 1011,
    IDC_PLANE_ZX = 1012,
    IDC_SLIDER_Z = 1013,
    IDC_SLIDER_X = 1014,
    IDC_SLIDER_Y = 1015,
    IDC_POS_Z = 1016,
    IDC_POS_X = 1017,
    IDC_POS_Y = 1018,
    IDC_TRANSPARENCY = 1019,
    IDC_TRANSPARENCY_PERCENT = 1020,
    IDC_NR_X_BINS = 1021,
    IDC_NR_Y_BINS = 1022,
    IDC_NR_Z_BINS = 1023,
    IDC_ORIGIN_X = 1024,
    IDC_ORIGIN_Y = 1025,
    IDC_ORIGIN_Z = 1026,
    IDC_BIN_SIZE_X = 1027,
    IDC_BIN_SIZE_Y = 1028,
    IDC_BIN_SIZE_Z = 1029,
    IDC_FIND_MAX = 1030,
    IDC_SOURCE_FORMAT = 1031,
    IDC_EXTRACT = 1032,
    IDC_LEGEND_SETTINGS = 1033,
    IDC_MESSAGE_LOG = 1040,
    IDC_DISPLAY_MODE = 1050,
    IDC_PALETTE = 1051,
    IDC_TRANSPARENT = 1052,
    IDC_EMPHASIZE_THRESHOLDS = 1053,
    IDC_NON_INTERPOLATED = 1054,
    IDC_SAVE_LEGEND = 1055,
    IDC_LEGEND = 1056,
    IDC_SHOW_GEOMETRY = 1057, // the host's geometry on the planes (host interface 2.4)
    // The probing rows (ProbingControls); the legend menu has 1060..1063.
    IDC_DATA_PROBING = 1070,
    IDC_PROBE_CELL = 1071,
    IDC_PROBE_VOXEL = 1072,
    IDC_PROBE_VALUE = 1073,
    IDC_PROBE_ERROR = 1074,
    IDC_PROBE_REGION = 1077, // the region of the probed cell's centre, from the host
    IDM_LOCATE_MAX = 1075,
    IDM_LOCATE_MIN = 1076,
    IDM_SETTINGS = 0x0020,
};
} // namespace volumira3d
