// The one application object of libVolumira3D.so.
#include "volume/Volumira3D_App.h"

namespace
{
volumira3d::CVolumira3D_App theApp;
}

CPlugInApp& AfxGetPlugInApp()
{
    return theApp;
}
