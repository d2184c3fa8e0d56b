! gfortran's own MATMUL for the comparison in matmul_drivers_bench.cpp.
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
