#include "model/recta.h"

#include "doc/rectadoc.h"
