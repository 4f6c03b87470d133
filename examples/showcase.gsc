GSD 2.0
! Showcase: a mirror ball and glossy spheres on a checkered floor in front of
! a mirror wall, lit by two lights that cast hard shadows. Rendered by the
! README's first command. Texture names are relative to this file's folder.

#CAMERA
0 2.6 13        ! eye
0 1.2 0         ! at
0 1 0           ! up
40              ! fovy, degrees
1 100           ! near, far
800 600         ! screen width and height, pixels

#SCENE
28 40 72   null         ! night-blue background, no background image

! ---- materials, numbered from 0 in the order they are read ----
#MATERIAL
! 0: checkered floor (the texture replaces the diffuse colour)
20 20 24   255 255 255   90 90 90
30 0.25 0 1   checker.ppm
! 1: mirror ball
8 8 10   30 30 35   255 255 255
120 0.85 0 1   null
! 2: glossy red
40 6 6   210 30 30   255 255 255
60 0.2 0 1   null
! 3: glossy teal
4 30 30   20 170 160   255 255 255
40 0.15 0 1   null
! 4: gold
40 30 6   220 170 40   255 230 160
25 0.35 0 1   null
! 5: mirror wall, slightly blue
4 6 10   20 25 35   200 210 255
200 0.75 0 1   null
! 6: matte violet block
22 10 30   120 60 170   60 60 60
10 0 0 1   null
! 7: frame of the mirror wall
20 16 12   110 85 60   80 80 80
15 0 0 1   null

! ---- lights: a cool key light high on the left, a warm fill on the right ----
#LIGHT
-7 9 8     190 190 205
6 5 9      120 100 80

! ---- objects ----
#BOX
0   -9 -0.5 -8   9 0 10         ! floor: 18 x 18, squares of 1.5

#SPHERE
! material, radius, centre
1   1.5   0 1.5 0               ! mirror ball
2   0.9   -3 0.9 2              ! red
3   0.75  3.1 0.75 1.6          ! teal
4   0.45  1.4 0.45 3.4          ! gold
4   0.3   -1.3 0.3 3.8          ! small gold

#BOX
6   -5.5 0 -3.5   -3.5 2.2 -1.5 ! violet block

#TRIANGLE
! the mirror wall at z = -6, its vertices anticlockwise seen from the camera
5   -7 0 -6   7 0 -6   7 5 -6
5   -7 0 -6   7 5 -6   -7 5 -6

#BOX
7   -7.3 0 -6.3   -7 5.3 -5.9   ! frame: left post
7   7 0 -6.3   7.3 5.3 -5.9     ! right post
7   -7.3 5 -6.3   7.3 5.3 -5.9  ! top bar
