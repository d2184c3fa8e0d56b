! The comparison for the MATMUL benchmarks: gfortran's own MATMUL of two
! square REAL*8 matrices.
subroutine f90bench_gfortran_matmul(a, b, c, n) bind(c)
  use iso_c_binding, only: c_double, c_int32_t
  integer(c_int32_t), intent(in) :: n
  real(c_double), intent(in) :: a(n, n), b(n, n)
  real(c_double), intent(out) :: c(n, n)
  c = matmul(a, b)
end subroutine f90bench_gfortran_matmul

! gfortran's MATMUL of square REAL*8, COMPLEX*16 and INTEGER*4 matrices for
! the MATMUL entry-point benchmarks (matmul_drivers_bench.cpp).
subroutine gf_matmul_r8(n, a, b, c) bind(C, name="gf_matmul_r8")
  use iso_c_binding
  integer(c_int), value :: n
  real(c_double), intent(in) :: a(n, n), b(n, n)
  real(c_double), intent(out) :: c(n, n)
  c = matmul(a, b)
end subroutine

subroutine gf_matmul_c8(n, a, b, c) bind(C, name="gf_matmul_c8")
  use iso_c_binding
  integer(c_int), value :: n
  complex(c_double_complex), intent(in) :: a(n, n), b(n, n)
  complex(c_double_complex), intent(out) :: c(n, n)
  c = matmul(a, b)
end subroutine

subroutine gf_matmul_i4(n, a, b, c) bind(C, name="gf_matmul_i4")
  use iso_c_binding
  integer(c_int), value :: n
  integer(c_int), intent(in) :: a(n, n), b(n, n)
  integer(c_int), intent(out) :: c(n, n)
  c = matmul(a, b)
end subroutine
