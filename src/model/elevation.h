// The elevation and thickness commands' change of one entity, by type code.
#pragma once

class CObject;

// Lines and 3D faces: the lowest z goes to z and the others keep their
// height above it; circles, arcs, points and insertion points take z; a
// polyline moves up or down so that its start lies at z. False, and nothing
// changed, for the other kinds.
bool SetEntityElevation(int type, CObject* entity, double z);
// Lines, circles and arcs take thickness t (both ends of a line or arc); in
// a polyline each line segment both ends and each arc segment its first.
// False, and nothing changed, for the other kinds.
bool SetEntityThickness(int type, CObject* entity, double t);
