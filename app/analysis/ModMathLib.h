#pragma once
// The engine's shared numeric and geometric helpers, all in one include.
#include "app/analysis/Angles.h"
#include "app/analysis/AxisLimits.h"
#include "app/analysis/MathBasics.h"
#include "app/analysis/MathConstants.h"
#include "app/analysis/Points.h"
#include "app/analysis/PolygonCenter.h"
#include "app/analysis/SignificantFormat.h"
#include "app/analysis/ThreePointShapes.h"
#include "app/analysis/ViewProjection.h"
