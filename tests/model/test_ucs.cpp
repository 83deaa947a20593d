// Working-plane axes and the matrix product.
#include "model/ucs.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double Dot(const double (&a)[3], const double (&b)[3])
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

}  // namespace

TEST(WorkingPlane, MatrixTimesPoint)
{
    const double m[3][3] = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    CPointd p(1, -1, 2);
    MulMatrixPoint(m, p, p);  // out aliases in
    EXPECT_EQ(p, CPointd(5, 11, 17));
}

TEST(WorkingPlane, SameDirectionWithinATenThousandth)
{
    const CPointd w(0, -1, 0);
    EXPECT_EQ(SameDirection(CPointd(0.00005, -1.00005, 0.00005), w), 1);
    EXPECT_EQ(SameDirection(CPointd(0, -1, 0.0001), w), 0);
    EXPECT_EQ(SameDirection(CPointd(0, 0, 1), w), 0);
}

TEST(WorkingPlane, VerticalPlaneAxes)
{
    double m[3][3];
    ASSERT_TRUE(PlaneAxes(PLANE_VERTICAL, CPointd(0, 0), CPointd(1, 0), CPointd(), m));
    const double expected[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_EQ(m[i][j], expected[i][j]) << i << "," << j;

    // A rising edge still makes a vertical plane: its normal stays level.
    ASSERT_TRUE(PlaneAxes(PLANE_VERTICAL, CPointd(1, 1, 0), CPointd(4, 5, 2), CPointd(), m));
    EXPECT_NEAR(m[2][2], 0.0, 1e-15);
    EXPECT_NEAR(m[0][0], 3.0 / std::sqrt(29.0), 1e-15);
}

TEST(WorkingPlane, AxesAreOrthonormalForAnySlantedThirdPoint)
{
    double m[3][3];
    ASSERT_TRUE(PlaneAxes(PLANE_THREE_POINTS, CPointd(1, 2, 3), CPointd(4, 2, 3), CPointd(2, 7, 9), m));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(Dot(m[i], m[j]), i == j ? 1.0 : 0.0, 1e-15) << i << "," << j;
    EXPECT_EQ(m[0][0], 1.0);
    // w = u x v keeps the axes right-handed.
    EXPECT_NEAR(m[2][0] * (m[0][1] * m[1][2] - m[0][2] * m[1][1]), 0.0, 1e-15);
}

TEST(WorkingPlane, PointsThatMakeNoPlaneAreRefused)
{
    double m[3][3] = {{7, 7, 7}, {7, 7, 7}, {7, 7, 7}};
    // A vertical section through one point of the plan.
    EXPECT_FALSE(PlaneAxes(PLANE_VERTICAL, CPointd(2, 2, 0), CPointd(2, 2, 5), CPointd(), m));
    // Three points on a line, coincident points.
    EXPECT_FALSE(PlaneAxes(PLANE_THREE_POINTS, CPointd(0, 0), CPointd(1, 1), CPointd(3, 3), m));
    EXPECT_FALSE(PlaneAxes(PLANE_THREE_POINTS, CPointd(0, 0), CPointd(0, 0), CPointd(3, 1), m));
    EXPECT_FALSE(PlaneAxes(PLANE_THREE_POINTS, CPointd(0, 0), CPointd(1, 0), CPointd(0, 0), m));
    EXPECT_EQ(m[1][1], 7.0) << "axes untouched";
}
