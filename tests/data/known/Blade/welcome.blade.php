{{-- Welcome page of the demo. --}}
@extends('layouts.app')

@section('content')
    <!-- The greeting depends

         on the login. -->
    @auth
        <p>Hello, {{ auth()->user()->name }}</p> {{-- signed in --}}
    @else
        <p>Welcome, guest.</p>
    @endauth
    {{--
        @include('partials.news')
    --}}
@endsection
