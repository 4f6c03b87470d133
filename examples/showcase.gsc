GSD 2.0
! Showcase: a mirror ball and glossy spheres on a polished checkered floor in
! front of a framed mirror wall, lit by two lights that cast hard shadows.
! Rendered by the README's first command. The checkers are thin boxes, not a
! texture, so that both renderers draw the same floor.

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
! 0: light squares of the floor
26 25 22   232 222 200   90 90 90
30 0.25 0 1   null
! 1: dark squares
8 9 12   58 66 88   90 90 90
30 0.25 0 1   null
! 2: mirror ball
8 8 10   30 30 35   255 255 255
120 0.85 0 1   null
! 3: glossy red
40 6 6   210 30 30   255 255 255
60 0.2 0 1   null
! 4: glossy teal
4 30 30   20 170 160   255 255 255
40 0.15 0 1   null
! 5: gold
40 30 6   220 170 40   255 230 160
25 0.35 0 1   null
! 6: mirror wall, slightly blue
4 6 10   20 25 35   200 210 255
200 0.75 0 1   null
! 7: matte violet block
22 10 30   120 60 170   60 60 60
10 0 0 1   null
! 8: frame of the mirror wall
20 16 12   110 85 60   80 80 80
15 0 0 1   null

! ---- lights: a cool key light high on the left, a warm fill on the right ----
#LIGHT
-7 9 8     190 190 205
6 5 9      120 100 80

! ---- objects ----
#SPHERE
! material, radius, centre
2   1.5   0 1.5 0               ! mirror ball
3   0.9   -3 0.9 2              ! red
4   0.75  3.1 0.75 1.6          ! teal
5   0.45  1.4 0.45 3.4          ! gold
5   0.3   -1.3 0.3 3.8          ! small gold

#BOX
7   -5.5 0 -3.5   -3.5 2.2 -1.5 ! violet block

#TRIANGLE
! the mirror wall at z = -6, its vertices anticlockwise seen from the camera
6   -7 0 -6   7 0 -6   7 5 -6
6   -7 0 -6   7 5 -6   -7 5 -6

#BOX
8   -7.3 0 -6.3   -7 5.3 -5.9   ! frame: left post
8   7 0 -6.3   7.3 5.3 -5.9     ! right post
8   -7.3 5 -6.3   7.3 5.3 -5.9  ! top bar

! the floor: 9 x 8 squares 2.25 units a side, centred on x = 0 so that no
! square's edge lies in the camera's vertical plane; the dark squares are laid
! a thousandth of a unit above the light floor
0   -10.125 -0.5 -8   10.125 0 10
1   -7.875 0 -8   -5.625 0.001 -5.75
1   -3.375 0 -8   -1.125 0.001 -5.75
1   1.125 0 -8   3.375 0.001 -5.75
1   5.625 0 -8   7.875 0.001 -5.75
1   -10.125 0 -5.75   -7.875 0.001 -3.5
1   -5.625 0 -5.75   -3.375 0.001 -3.5
1   -1.125 0 -5.75   1.125 0.001 -3.5
1   3.375 0 -5.75   5.625 0.001 -3.5
1   7.875 0 -5.75   10.125 0.001 -3.5
1   -7.875 0 -3.5   -5.625 0.001 -1.25
1   -3.375 0 -3.5   -1.125 0.001 -1.25
1   1.125 0 -3.5   3.375 0.001 -1.25
1   5.625 0 -3.5   7.875 0.001 -1.25
1   -10.125 0 -1.25   -7.875 0.001 1
1   -5.625 0 -1.25   -3.375 0.001 1
1   -1.125 0 -1.25   1.125 0.001 1
1   3.375 0 -1.25   5.625 0.001 1
1   7.875 0 -1.25   10.125 0.001 1
1   -7.875 0 1   -5.625 0.001 3.25
1   -3.375 0 1   -1.125 0.001 3.25
1   1.125 0 1   3.375 0.001 3.25
1   5.625 0 1   7.875 0.001 3.25
1   -10.125 0 3.25   -7.875 0.001 5.5
1   -5.625 0 3.25   -3.375 0.001 5.5
1   -1.125 0 3.25   1.125 0.001 5.5
1   3.375 0 3.25   5.625 0.001 5.5
1   7.875 0 3.25   10.125 0.001 5.5
1   -7.875 0 5.5   -5.625 0.001 7.75
1   -3.375 0 5.5   -1.125 0.001 7.75
1   1.125 0 5.5   3.375 0.001 7.75
1   5.625 0 5.5   7.875 0.001 7.75
1   -10.125 0 7.75   -7.875 0.001 10
1   -5.625 0 7.75   -3.375 0.001 10
1   -1.125 0 7.75   1.125 0.001 10
1   3.375 0 7.75   5.625 0.001 10
1   7.875 0 7.75   10.125 0.001 10
