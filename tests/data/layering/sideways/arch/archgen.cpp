#include "view3d/cameras.h"
