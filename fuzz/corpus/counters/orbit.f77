
C     ORBIT: PERIOD OF A CIRCULAR ORBIT.
*     KEPLER'S THIRD LAW, IN SI UNITS.
      PROGRAM ORBIT
      REAL R, T, GM
c     lower-case c is not a comment here
      PARAMETER (GM = 3.986E14)

      R = 7.0E6
      T = 2.0 * 3.14159 * SQRT(R**3 / GM)
      PRINT *, 'PERIOD * SECONDS', T
      WRITE (*,*) "C IS NOT IN COLUMN 1"
! bang comments are free-form only
      END
