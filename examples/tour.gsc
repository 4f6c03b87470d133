GSD 2.0
! Tour of the format: every category (CAMERA, SCENE with a background image,
! MATERIAL with and without a texture, LIGHT, SPHERE, TRIANGLE, BOX), headers
! in mixed case, repeated bodies under one header and comments everywhere.

#Camera
6 4 9   0 0.8 0   0 1 0     ! eye, at, up
45                          ! vertical field of view in degrees
1 50                        ! near and far distances
480 360                     ! screen size in pixels

#scene
! background colour (0..255), then the background image kept with the scene
70 90 130   sky.ppm

#MATERIAL
! 0: tiled texture; glintview draws the texture in place of the diffuse
! colour, glintcmd draws the diffuse terracotta
30 20 15   180 80 50   40 40 40
10 0 0 1   tiles.ppm
! 1: polished steel
10 10 12   90 90 100   255 255 255   ! ambient, diffuse, specular
80 0.6 0 1 null                      ! n, reflect, refract, opacity, texture
! 2: green plastic
5 25 5   40 180 60   200 200 200
30 0.1 0 1 null

#LIGHT
-5 8 6    200 200 190
5 6 -4    90 90 120

#BOX
0   -6 -0.2 -6   6 0 6             ! a tiled floor
0   1 0 -1.5   2.5 1.5 0           ! a tiled crate

#SPHERE
1   1     -1.2 1 0.5               ! steel ball
2   0.5   1.8 0.5 2                ! green ball

#TRIANGLE
! a green sail standing on the floor
2   -3 0 -2   -1 0 -3   -2 2.5 -2.5
