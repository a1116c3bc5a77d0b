! Newton iteration for the square root.
program solver
  implicit none
  real :: x, guess   ! working values
  character(len=*), parameter :: bang = '!'
  character(len=*), parameter :: msg = "Done! Converged."

  guess = 1.0
  x = 2.0
  do while (abs(guess*guess - x) > 1.0e-6)
     guess = 0.5 * (guess + x / guess)   ! Newton step
  end do
  print *, 'Root: ', guess  ! it's fine
    ! indented comment
end program solver
